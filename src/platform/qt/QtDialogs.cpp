#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>

#include "formats/PictureReaders.h"
#include "platform/qt/GuiThread.h"
#include "platform/qt/QtImage.h"

namespace dg {

namespace {

constexpr int kPreviewSide = 220;
// A preview decodes the whole file; beyond this size the pane stays blank rather than
// making the dialog stall while the user moves through a folder.
constexpr qint64 kLargestPreviewBytes = 64ll * 1024 * 1024;

QString title() { return QCoreApplication::applicationName(); }

// Keeps the preview pane of the open-picture dialog in step with the highlighted file.
void attachPreview(QFileDialog& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (grid == nullptr) return;
    auto* preview = new QLabel(&dialog);
    preview->setObjectName("picturePreview");
    preview->setFixedSize(kPreviewSide, kPreviewSide);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
        preview->clear();
        const QFileInfo info(path);
        if (!info.isFile() || info.size() > kLargestPreviewBytes) return;
        try {
            const RgbImage picture = readPicture(path.toStdString());
            if (picture.empty()) return;
            const QImage view = qimageView(picture);
            preview->setPixmap(QPixmap::fromImage(
                view.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        } catch (const std::exception&) {
            // A file that cannot be read simply has no preview; opening it reports why.
        }
    });
}

QFileDialog::Options plainOptions() { return QFileDialog::DontUseNativeDialog; }

}  // namespace

QStringList qtNameFilters(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString text = parts[i].trimmed();
        // Qt reads the patterns from the text's trailing parentheses, separated by blanks.
        const qsizetype open = text.lastIndexOf(" (");
        if (open >= 0 && text.endsWith(')')) text.truncate(open);
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << text + " (" + patterns + ")";
    }
    return filters;
}

std::optional<std::string> QtDialogs::chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    const std::string chosenPath = QFileInfo(path).absoluteFilePath().toStdString();
    const std::string folder = folderOf(chosenPath);
    if (!folder.empty()) files_.setCurrentFolder(folder);
    return chosenPath;
}

std::optional<std::string> QtDialogs::openPicture(const std::string& filter) {
    return onGuiThread([&]() -> std::optional<std::string> {
        QFileDialog dialog(nullptr, "Open");
        dialog.setOptions(plainOptions());
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setDirectory(QString::fromStdString(files_.currentFolder()));
        dialog.setNameFilters(qtNameFilters(filter));
        // Extensions are matched without regard to case, as the readers match them.
        dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
        attachPreview(dialog);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return chosen(dialog.selectedFiles().front());
    });
}

std::optional<std::string> QtDialogs::openProject() {
    return onGuiThread([&]() -> std::optional<std::string> {
        QFileDialog dialog(nullptr, "Open");
        dialog.setOptions(plainOptions());
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDirectory(QString::fromStdString(files_.currentFolder()));
        dialog.setNameFilters({"OPEN PROJECT (*.CSP)"});
        dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return chosen(dialog.selectedFiles().front());
    });
}

std::optional<std::string> QtDialogs::saveAs() {
    return onGuiThread([&]() -> std::optional<std::string> {
        // The name becomes the start of a folder name, so there is nothing to overwrite here and
        // no extension to add; the caller refuses an existing folder.
        QFileDialog dialog(nullptr, "Save As");
        dialog.setOptions(plainOptions() | QFileDialog::DontConfirmOverwrite);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDirectory(QString::fromStdString(files_.currentFolder()));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        return chosen(dialog.selectedFiles().front());
    });
}

void QtDialogs::message(const std::string& text) {
    onGuiThread([&] {
        QMessageBox box(QMessageBox::NoIcon, title(), QString::fromStdString(text), QMessageBox::Ok);
        box.exec();
    });
}

bool QtDialogs::askYesNo(const std::string& text) {
    return onGuiThread([&] {
        QMessageBox box(QMessageBox::Question, title(), QString::fromStdString(text),
                        QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    });
}

void QtDialogs::setBusy(bool busy) {
    onGuiThread([&] {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
}

}  // namespace dg
