#include "platform/Strings.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/ProgramState.h"
#include "resources/StringTable.h"

BOOL AfxLoadString(UINT id, std::string& out) {
    const StringTableEntry* end = kStringTable + kStringTableSize;
    const StringTableEntry* it =
        std::lower_bound(kStringTable, end, id, [](const StringTableEntry& e, UINT v) { return e.id < v; });
    if (it == end || it->id != id) {
        out.clear();
        return FALSE;
    }
    out = it->text;
    return TRUE;
}

std::string AfxLoadString(UINT id) {
    std::string s;
    AfxLoadString(id, s);
    return s;
}

namespace {
std::string ReplaceArgs(std::string text, std::string_view a1, std::string_view a2) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? a1 : a2;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

int DefaultHandler(const std::string& text, UINT type) {
    std::fprintf(stderr, "%s\n", text.c_str());
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
        case MB_RETRYCANCEL:
        case MB_YESNOCANCEL: return IDCANCEL;
        case MB_YESNO: return IDNO;
        case MB_ABORTRETRYIGNORE: return IDABORT;
        default: return IDOK;
    }
}

MessageBoxHandler DefaultMessageBoxHandler() {
    return DefaultHandler;
}
}  // namespace

std::string AfxFormatString1(UINT id, std::string_view arg1) { return ReplaceArgs(AfxLoadString(id), arg1, {}); }

std::string AfxFormatString2(UINT id, std::string_view arg1, std::string_view arg2) {
    return ReplaceArgs(AfxLoadString(id), arg1, arg2);
}

CProgramSlot<MessageBoxHandler>& AfxMessageBoxSlot() {
    static auto& slot = *new CProgramSlot<MessageBoxHandler>(DefaultMessageBoxHandler);
    return slot;
}

MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler) {
    return AfxMessageBoxSlot().Exchange(handler ? std::move(handler) : DefaultMessageBoxHandler());
}

int AfxMessageBox(const std::string& text, UINT type) {
    return AfxMessageBoxSlot().Get()(text, type);
}

int AfxMessageBoxDefaultAnswer(UINT type) {
    const bool second = (type & MB_DEFBUTTON2) != 0;
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return second ? IDCANCEL : IDOK;
        case MB_ABORTRETRYIGNORE:
            return second ? IDRETRY : IDABORT;
        case MB_YESNOCANCEL:
        case MB_YESNO:
            return second ? IDNO : IDYES;
        case MB_RETRYCANCEL:
            return second ? IDCANCEL : IDRETRY;
        default:
            return IDOK;
    }
}

BOOL AfxConfirmReplace(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file(path);
    if (!std::filesystem::exists(file, error)) return TRUE;
    const std::string question = file.filename().string() + " は既に存在します。\n上書きしますか?";
    return AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) == IDYES ? TRUE : FALSE;
}

namespace {
CProgramSlot<int>& UnattendedSlot() {
    static auto& slot = *new CProgramSlot<int>();
    return slot;
}

// A message box's text as one line of a log: its lines (a message, the system's words on the
// error, the items of a list) follow one another after a space, without their indentation.
std::string OneLine(const std::string& text) {
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view piece(text.data() + start, end - start);
        const auto first = piece.find_first_not_of(" \t\r");
        if (first != std::string_view::npos) {
            piece = piece.substr(first, piece.find_last_not_of(" \t\r") - first + 1);
            if (!line.empty()) line += ' ';
            line += piece;
        }
        start = end + 1;
    }
    return line;
}
}  // namespace

CUnattendedScope::CUnattendedScope(std::string prefix) {
    ++UnattendedSlot().Get();
    m_previous = AfxSetMessageBoxHandler([prefix = std::move(prefix)](const std::string& text, UINT type) {
        std::fprintf(stderr, "%s%s\n", prefix.c_str(), OneLine(text).c_str());
        std::fflush(stderr);
        return AfxMessageBoxDefaultAnswer(type);
    });
}

CUnattendedScope::~CUnattendedScope() {
    AfxSetMessageBoxHandler(std::move(m_previous));
    if (UnattendedSlot().Get() > 0) --UnattendedSlot().Get();
}

BOOL AfxIsUnattended() {
    return UnattendedSlot().Get() > 0;
}

int AfxMessageBox(UINT idPrompt, UINT type) {
    std::string text;
    if (!AfxLoadString(idPrompt, text)) text = "(message " + std::to_string(idPrompt) + ")";
    return AfxMessageBox(text, type);
}
