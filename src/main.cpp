#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dermagraph Software");
    QLabel window("Dermagraph Software");
    window.setWindowTitle("SELECT TASK");
    window.resize(1020, 730);
    window.show();
    return QApplication::exec();
}
