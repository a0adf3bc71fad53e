#pragma once
// The one-line reason asked when a movement is deleted, kept in the trail of changes.
#include <QString>

class QWidget;

// The reason typed, simplified; "" when none was given. The deletion is already confirmed:
// closing the window only leaves the reason out.
QString askDeletionReason(QWidget* parent);
