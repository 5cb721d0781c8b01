#include "qt/options/choosers.h"

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <utility>

#include "core/options/file_chooser_filter.h"
#include "qt/shell/message_box.h"
#include "qt/shell/twips.h"

namespace qfd {
namespace {

ColourChooserHandler& ColourHandler() {
    static ColourChooserHandler handler;
    return handler;
}

FileChooserHandler& FileHandler() {
    static FileChooserHandler handler;
    return handler;
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::uint32_t ToColourValue(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

// An open dialog that, like the platform's with its "path must exist" flag, lets a file name
// through only when its folder exists; the file itself may be missing.
class ProgramFileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

  protected:
    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QFileInfo info(files.first());
            if (!info.isDir() && !info.dir().exists()) {
                const QString text =
                    QDir::toNativeSeparators(info.absolutePath()) +
                    "\r\nThis folder does not exist. Check the name and try again.";
                ShowMessageBox(this, {text.toStdString(), windowTitle().toStdString(),
                                      MessageIcon::Exclamation, MessageButtons::Ok});
                return;
            }
        }
        QFileDialog::accept();
    }
};

}  // namespace

void SetColourChooserHandler(ColourChooserHandler handler) { ColourHandler() = std::move(handler); }

void SetFileChooserHandler(FileChooserHandler handler) { FileHandler() = std::move(handler); }

std::uint32_t ShowColourChooser(QWidget* parent, std::uint32_t initial, const std::string& title) {
    if (ColourHandler()) return ColourHandler()(initial, title);
    QColorDialog dialog(FromColourValue(initial), parent);
    dialog.setObjectName("cdlColour");
    dialog.setWindowTitle(FromUtf8(title));
    if (dialog.exec() != QDialog::Accepted) return initial;
    return ToColourValue(dialog.selectedColor());
}

std::string ShowFileChooser(QWidget* parent, const FileChooserRequest& request) {
    if (FileHandler()) return FileHandler()(request);
    // The folder of the last choice, for the next detector usually sits beside it.
    static QString lastFolder = QDir::homePath();
    ProgramFileDialog dialog(parent, FromUtf8(request.title), lastFolder);
    dialog.setObjectName("cdlColour");
    // The toolkit's own dialog, the same on every desktop, so that the folder rule above holds.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(FromUtf8(MakeFileFilter(request).caption));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString file = dialog.selectedFiles().first();
    lastFolder = QFileInfo(file).absolutePath();
    return QFile::encodeName(QDir::toNativeSeparators(file)).toStdString();
}

}  // namespace qfd
