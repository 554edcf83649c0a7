#include "timed_message.h"

#include <QTimer>

namespace quill {

QMessageBox* OpenTimedMessage(QWidget* owner, const QString& text, const QString& caption,
                              int milliseconds) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, caption, text,
                                QMessageBox::Ok | QMessageBox::Cancel, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QTimer::singleShot(milliseconds, box, [box] { box->done(QMessageBox::Cancel); });
    box->open();
    return box;
}

} // namespace quill
