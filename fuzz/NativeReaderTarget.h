// The native drawing reader on arbitrary bytes, shared by the targets that read it with the classes
// of different layers registered: opening must never crash, leak or read out of bounds, whatever the
// file holds; a drawing that opened is written back as well.
//
// With TESSARAY_FUZZ_ROUNDTRIP=1 the target also checks that saving is stable: the text written
// after one save-and-open reads back to the same text. (The first save may normalise what the input
// held, for example bytes that are no code page 932 become "?".)
#pragma once

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/TessarayDoc.h"
#include "platform/Strings.h"
#include "platform/TextFile.h"

namespace nativefuzz {

inline std::string Written(MTessarayDoc& doc) {
    TextOutput out;
    doc.WriteText(out);
    return out.str();
}

// The text written after opening text as a file; empty when it does not open.
inline std::string Reopened(const std::string& text) {
    MTessarayDoc doc;
    if (!doc.OpenNativeBytes(EncodeTextFile(text), "again.qfd")) return {};
    return Written(doc);
}

// One input; registerClasses runs once per process.
inline int Read(const std::uint8_t* data, std::size_t size, void (*registerClasses)()) {
    static const bool roundTrip = [registerClasses] {
        // Writing a text that code page 932 cannot hold measures it again, which needs the fonts.
        static int argc = 1;
        static char name[] = "fuzz_native_reader";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
        registerClasses();
        AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDOK; });
        return std::getenv("TESSARAY_FUZZ_ROUNDTRIP") != nullptr;
    }();
    MTessarayDoc doc;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!doc.OpenNativeBytes(bytes, "fuzz.qfd")) return 0;
    const std::string first = Written(doc);
    if (roundTrip) {
        const std::string second = Reopened(first);
        if (second.empty() || Reopened(second) != second) std::abort();
    }
    return 0;
}

}  // namespace nativefuzz
