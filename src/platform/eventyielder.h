// Lets pending window events run (timer ticks, clicks) in the middle of a long handler.
#pragma once

class EventYielder {
public:
    virtual ~EventYielder() = default;
    virtual void yieldToEvents() = 0;
};

class QtEventYielder : public EventYielder {
public:
    void yieldToEvents() override;
};
