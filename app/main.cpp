#include <QApplication>
#include <QMainWindow>
#include <clocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Qt adopts the user's locale; numbers in files and dimensions must never see a decimal comma.
    std::setlocale(LC_NUMERIC, "C");
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("無題 - Tessaray"));
    window.resize(1024, 768);
    window.show();
    return app.exec();
}
