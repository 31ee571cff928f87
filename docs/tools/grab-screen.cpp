// Saves the X display's picture (or a rectangle of it) as a PNG file:
//   grab-screen OUTPUT.png [X Y WIDTH HEIGHT]
// Used by take-screenshots.sh; the program itself has no switch for this.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 6) return 2;
    int x = 0, y = 0, w = -1, h = -1;
    if (argc == 6) {
        x = std::atoi(argv[2]);
        y = std::atoi(argv[3]);
        w = std::atoi(argv[4]);
        h = std::atoi(argv[5]);
    }
    return QGuiApplication::primaryScreen()->grabWindow(0, x, y, w, h).save(argv[1]) ? 0 : 1;
}
