// The bitmap readers on arbitrary bytes: a packed DIB as the clipboard gives it (a bitmap shape is
// made of it) and a BMP file as bitmap shapes keep their image in the archive. An image that was
// read is drawn, mirrored both ways and rotated, which walks every pixel of it; none of it may
// crash, leak or touch memory outside the image.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "model/CadView.h"
#include "model/Dib.h"
#include "model/PaperInfo.h"
#include "model/shapes/picture/BitmapShape.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Strings.h"
#include "platform/gdi/DC.h"

namespace {

struct Setup {
    MPaperInfo paper;
    MCadView view{&paper};
    CDC dc;
};

Setup* Initialise() {
    AfxSetMessageBoxHandler([](const std::string&, UINT) { return IDOK; });
    static Setup setup;
    setup.view.SetScale(nullptr, 1.0);
    setup.dc.CreateImageDC(64, 64);
    return &setup;
}

// Transforms turn whole images: larger ones only cost time here, they hold nothing new.
bool Small(const MDib& image) {
    const SIZE s = image.GetSize();
    return std::llabs(static_cast<long long>(s.cx)) * std::llabs(static_cast<long long>(s.cy)) <= 256 * 256;
}

void Exercise(Setup& setup, MBitmapShape& shape, double angle) {
    shape.SetRect(0, 40, 40, 0);
    shape.Recalc(&setup.view);
    shape.Draw(&setup.view, &setup.dc);
    if (!shape.HasImage() || !Small(*shape.GetImage())) return;
    shape.MirrorX(20, 20);
    shape.MirrorY(20, 20);
    shape.Rotate(20, 20, angle);
    shape.Recalc(&setup.view);
    shape.Draw(&setup.view, &setup.dc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup* setup = Initialise();
    if (size < 1) return 0;
    // The first byte turns the image; the rest is the image.
    const double angle = (data[0] - 128) * 0.0245;
    ++data, --size;

    MBitmapShape pasted;
    if (pasted.SetDib(data, size, 0.01)) Exercise(*setup, pasted, angle);

    auto image = std::make_unique<MDib>();
    CMemFile file(data, size);
    CArchive ar(&file, CArchive::load);
    try {
        image->Serialize(ar);
    } catch (const CException&) {
        return 0;
    }
    if (image->IsEmpty()) return 0;
    MBitmapShape kept;
    kept.SetImage(std::move(image));
    Exercise(*setup, kept, angle);
    return 0;
}
