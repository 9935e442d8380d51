#include "tools/text/ToolbarFont.h"

#include <cmath>
#include <optional>

#include "resources/ResourceIds.h"
#include "tools/AttributeChange.h"
#include "tools/DrawTool.h"
#include "tools/input/AttributeControls.h"

namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool Usable(double size) {
    return std::isfinite(size) && size > 0.0;
}

}  // namespace

std::string ToolbarFontName(MDrawTool& tool) {
    if (MAttributeControls* controls = GetAttributeControls())
        if (const std::optional<std::string> text = controls->GetText(IDC_FONT_NAME))
            if (std::string name = Trimmed(*text); !name.empty()) return name;
    return tool.GetAttribute(MAttribute::kFontName).Name();
}

double ToolbarFontSize(MDrawTool& tool, double fallback) {
    if (MAttributeControls* controls = GetAttributeControls())
        if (const std::optional<double> size = controls->GetNumber(IDC_FONT_SIZE); size && Usable(*size))
            return *size;
    // A text of size 0 could not be seen, and a single-line one would be dropped at its commit.
    const double size = tool.GetAttribute(MAttribute::kFontSize).Size();
    return Usable(size) ? size : fallback;
}
