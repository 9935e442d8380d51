#include "app/TessarayApp.h"

namespace {
MTessarayApp theApp;
}  // namespace

int main(int argc, char* argv[]) {
    return AfxWinMain(argc, argv);
}
