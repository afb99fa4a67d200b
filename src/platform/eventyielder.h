// Lets pending events run (timer ticks, repaints) in the middle of a long handler.
#pragma once

class EventYielder {
public:
    virtual ~EventYielder() = default;
    // Runs the events waiting now, except the operator's input, which the event loop
    // delivers once the handler has returned.
    virtual void yieldToEvents() = 0;
};

class QtEventYielder : public EventYielder {
public:
    void yieldToEvents() override;
};
