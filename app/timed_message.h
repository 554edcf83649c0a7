#pragma once

#include <QMessageBox>

namespace quill {

// Opens a message box with OK and Cancel, modal to `owner`, that closes itself after
// `milliseconds` unless the user closes it first. Returns at once; the box deletes itself.
QMessageBox* OpenTimedMessage(QWidget* owner, const QString& text, const QString& caption,
                              int milliseconds);

} // namespace quill
