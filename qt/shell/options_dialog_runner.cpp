#include "shell/options_dialog_runner.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

#include "shell/shell_texts.h"

namespace qfd {

void RunOptionsDialog(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds) {
    // The dialog's settings pages come with the options dialog itself; for now it offers only
    // the way out, so that the menu command and the paused timer around it behave as they will.
    (void)mirror;
    (void)sounds;
    QDialog dialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint);
    dialog.setObjectName("frmOptions");
    dialog.setWindowTitle(
        QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())) + " Options");
    dialog.setWindowModality(Qt::ApplicationModal);
    auto* close = new QPushButton("&Close", &dialog);
    close->setObjectName("cmdClose");
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* layout = new QHBoxLayout(&dialog);
    layout->addStretch();
    layout->addWidget(close);
    dialog.exec();
}

}  // namespace qfd
