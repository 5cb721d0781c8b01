// Shared by the options dialog's Qt tests: one opening of frmOptions in a temporary installation
// folder, and ways to find its controls and read the settings file as it lies on disk.
#pragma once

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "core/settings/settings_mirror.h"
#include "qt/options/options_window.h"
#include "tests/qt/alert/alert_test_support.h"

namespace qfd::test {

struct OpenOptions {
    QTemporaryDir dir;
    SettingsMirror mirror;
    RecordedSounds sounds;
    int menuRefreshes = 0;
    std::unique_ptr<OptionsWindow> window;

    QString IniPath() const { return dir.filePath("qfd.ini"); }
    void WriteIni(const QByteArray& bytes) const {
        QFile file(IniPath());
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    }
    QByteArray Ini() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The value exactly as stored in the file (the number form keeps its blank).
    QByteArray Stored(const char* key) const {
        const QByteArray file = Ini();
        const QByteArray start = QByteArray("\r\n") + key + "=";
        const qsizetype at = file.indexOf(start);
        if (at < 0) return "<missing>";
        const qsizetype from = at + start.size();
        return file.mid(from, file.indexOf("\r\n", from) - from);
    }

    // Loads the mirror from the file as start-up does, then opens and shows the dialog.
    bool Open(const QByteArray& file = QByteArray()) {
        if (!file.isNull()) WriteIni(file);
        mirror = SettingsMirror{};
        mirror.IniPath = IniPath().toStdString();
        LoadSettingsMirror(mirror);
        window = std::make_unique<OptionsWindow>(nullptr, mirror, sounds.sounds,
                                                 [this] { ++menuRefreshes; });
        window->Load();
        window->Form().show();
        window->Form().activateWindow();
        return QTest::qWaitForWindowActive(&window->Form());
    }

    OptionsForm& form() { return window->Form(); }

    // A control by its control name, and its index in a control array.
    template <typename T = QWidget>
    T* Control(const char* name, int index = -1) {
        for (T* w : form().findChildren<T*>(name)) {
            const QVariant i = w->property("index");
            if (index < 0 ? !i.isValid() : (i.isValid() && i.toInt() == index)) return w;
        }
        return nullptr;
    }
};

}  // namespace qfd::test
