// Text of DXF files: the character set the file's strings are written in, the "%%" control codes of
// TEXT values and names, and the formatting codes of MTEXT values. Everything after the character
// set works on UTF-8.
#pragma once

#include <string>
#include <string_view>

// The character set of a file's strings. Code page 932 unless the header states otherwise: files of
// AutoCAD 2007 (AC1021) and later are UTF-8, older ones name their code page in $DWGCODEPAGE.
class MDXFEncoding {
public:
    MDXFEncoding() = default;

    // The value of $ACADVER ("AC1009", ...).
    void SetVersion(std::string_view version);
    // The value of $DWGCODEPAGE ("ANSI_932", "dos932", "ANSI_1252", ...). Names that are not known
    // keep code page 932.
    void SetCodePage(std::string_view name);

    // The bytes of a value as UTF-8, with the "\U+XXXX" and "\M+nXXXX" escapes resolved. Bytes
    // that are not valid in a UTF-8 file are read as code page 932 (some programs write that
    // whatever their version); bytes without a character become U+FFFD.
    std::string Decode(std::string_view raw) const;

    bool IsUtf8() const { return m_utf8; }
    // The iconv name of the code page of pre-2007 files ("CP932", "CP1252", ...).
    const std::string& GetCodePage() const { return m_codePage; }

private:
    bool m_utf8 = false;
    std::string m_codePage = "CP932";
};

// Appends the UTF-8 form of a code point (U+FFFD for values that are not characters).
void AppendUtf8(std::string& out, unsigned codePoint);

// The "%%" codes of TEXT values and names: %%c diameter (Φ), %%d degree (°), %%p plus-minus (±),
// %%% a percent sign, %%nnn the character with that three-digit code; any other "%%x" is dropped
// (the underline and overline switches among them), and so is a "%%" that ends the value.
std::string DecodeDxfPercentCodes(std::string_view text);

// The caret codes of TEXT and MTEXT values: "^ " is a caret itself, "^I" a tab, "^J" a line feed;
// the other control characters ("^" before "@" to "_") are dropped. Works on UTF-8, where a caret
// is never part of another character.
std::string DecodeDxfCarets(std::string_view text);

// The plain text of an MTEXT value: "\P" line breaks, "\~" hard blanks, the escaped "\\", "\{" and
// "\}", stacked fractions "\Sa^b;" as a/b; font, height, colour, alignment, tracking, paragraph,
// obliquing and width codes and the underline, overline and strike switches are dropped, and so
// are the braces of formatting groups.
class MDXFTextDecoder {
public:
    std::string Decode(std::string_view text);

    // The last "\Q" obliquing angle and "\W" width factor seen; kept for later use.
    double GetObliqueAngle() const { return m_obliqueAngle; }
    double GetWidthFactor() const { return m_widthFactor; }

private:
    double m_obliqueAngle = 0.0;
    double m_widthFactor = 1.0;
};
