#pragma once
// Text between the core (UTF-8 bytes) and Qt (UTF-16): captions with CR LF
// become single line breaks, and positions convert between byte offsets and
// QString indexes.

#include <QtCore/QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace plat::qt {

QString ToQt(std::string_view utf8);
std::string FromQt(const QString& text);
// A caption for display: CR LF and lone CR become LF.
QString CaptionToQt(std::string_view utf8);
// A label's caption as shown: "&&" is one "&", a single "&" only marks the
// access key and is not shown.
QString LabelCaptionToQt(std::string_view utf8);
// The QString index at a byte offset of `utf8` (clamped; an offset inside a
// character counts as that character's start).
int IndexOfByte(std::string_view utf8, int32_t byteOffset);
// The byte offset of a QString index of `text`.
int32_t ByteOfIndex(const QString& text, int index);
// A multi-line box's text: the core holds CR LF, the widget one LF per line
// break. LinesToQt also shows a lone CR as a line break; LinesFromQt gives
// every line break as CR LF. Positions count a CR LF as one character.
QString LinesToQt(std::string_view utf8);
std::string LinesFromQt(const QString& text);
// The index in LinesToQt(utf8) at a byte offset of `utf8` (clamped; inside a
// character or a CR LF counts as its start).
int IndexOfLinesByte(std::string_view utf8, int32_t byteOffset);
// The byte offset in `utf8` of an index of LinesToQt(utf8).
int32_t LinesByteOfIndex(std::string_view utf8, int index);
// A person's edit that turned `before` into `after`, fitted into `maxBytes`
// (0: no limit) as an edit box does: what was inserted is cut at a character
// boundary so that the text around it stays. `caret` is the byte offset
// after the insertion. A CR LF is never split.
struct FittedEdit {
    std::string text;
    int32_t caret = 0;
};
FittedEdit FitEdit(std::string_view before, std::string_view after, int32_t maxBytes);
// The longest prefix of `utf8` that fits `maxBytes` without splitting a character.
std::string_view CutAtCharacter(std::string_view utf8, size_t maxBytes);

}  // namespace plat::qt
