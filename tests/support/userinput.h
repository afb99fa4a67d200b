// Operator input queued as the window system queues it, delivered by the next event loop pass.
#pragma once

class QWidget;

// Queues a left click in the middle of `widget`, which must be in a shown window.
void queueClick(QWidget* widget);
