// The platform services a window or a scan step reaches, gathered so tests can swap in fakes.
#pragma once

class Clock;
class ProcessLauncher;
class EventYielder;
class MessageBox;
class Screen;
class SoundPlayer;
class FileDialog;
class DocumentOpener;
class Notifier;
class CopyMessenger;

struct PlatformServices {
    Clock& clock;
    ProcessLauncher& launcher;
    EventYielder& yielder;
    MessageBox& messages;
    Screen& screen;
    SoundPlayer& sound;
    FileDialog& fileDialog;
    DocumentOpener& documents;
    Notifier& notifications;
    CopyMessenger& copies;  // SCADEX and its alert program tell each other
};
