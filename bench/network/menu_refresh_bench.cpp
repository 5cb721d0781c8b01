// RefreshNetworkMenus with all 501 slots used: reading the list and rebuilding both submenus of the
// real tray menu. Prints the median and the slowest of the rounds in milliseconds.
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "core/network/network_menus.h"
#include "qt/shell/tray_menu.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;

    QTemporaryDir dir;
    const std::string ini = dir.filePath("qfd.ini").toStdString();
    std::ofstream file(ini, std::ios::binary);
    file << "[Network Settings]\r\n";
    for (int i = 0; i <= 500; ++i) {
        file << "Option " << i << "=/srv/share/desk" << i << "/\r\n";
    }
    file.close();

    qfd::TrayMenu menu;
    using Clock = std::chrono::steady_clock;
    const auto millis = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    std::vector<double> total, reading;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        const qfd::NetworkMenus menus = qfd::RefreshNetworkMenus(ini);
        const auto read = Clock::now();
        menu.ShowNetworkMenus(menus);
        // The submenus are built when one is about to open.
        emit menu.findChild<QMenu*>(QStringLiteral("mNetworkMenu"))->aboutToShow();
        const auto end = Clock::now();
        total.push_back(millis(end - start));
        reading.push_back(millis(read - start));
    }
    std::sort(total.begin(), total.end());
    std::sort(reading.begin(), reading.end());
    std::printf(
        "RefreshNetworkMenus/501 in the Qt tray menu: median %.2f ms (reading the list %.2f ms),"
        " max %.2f ms, %d rounds\n",
        total[total.size() / 2], reading[reading.size() / 2], total.back(), rounds);
    return 0;
}
