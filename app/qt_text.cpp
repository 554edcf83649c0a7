#include "qt_text.h"

#include "core/codepage.h"
#include "core/text_rules.h"

namespace quill {

QString ToQString(const Text& text) {
    return QString::fromStdString(ConvertGbkToUtf8(text));
}

Text ToText(const QString& text) {
    return ConvertUtf8ToGbk(text.toStdString());
}

QString ToQStringLines(const Text& text) {
    return ToQString(ReplaceText(text, "\r\n", "\n"));
}

Text ToTextLines(const QString& text) {
    QString lines = text;
    return ToText(lines.replace(QLatin1Char('\n'), QLatin1String("\r\n")));
}

} // namespace quill
