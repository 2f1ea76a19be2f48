#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The single-byte code pages of Central Europe that old phones and Windows programs write
// Hungarian names in.
enum class CodePage {
    Iso8859_2,
    Windows1250,
};

// The text of `bytes`, or nothing where a byte is no character of the page (the C1 control
// codes 0x80..0x9F included).
std::optional<QString> decodeCodePage(QByteArrayView bytes, CodePage page);
