#pragma once

#include <QString>

#include "core/text.h"

namespace quill {

// Code page 936 text crosses into Qt only through these.
QString ToQString(const Text& text);
Text ToText(const QString& text);

// Multi-line boxes: Qt breaks lines with "\n", the core with CR LF.
QString ToQStringLines(const Text& text);
Text ToTextLines(const QString& text);

} // namespace quill
