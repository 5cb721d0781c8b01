// The yardstick for qfd's start-up and idle costs: the least a Qt tray program with a popup menu
// and a 100 ms polling timer does. It plays no sound, so it loads no audio library (qfd loads
// its own on the first sound). Usage: minimal_tray FILE (a 1 KB file is made when missing).
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : "minimal_tray.dat";
    if (!QFile::exists(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(1024, 'x'));
    }

    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setBrush(Qt::red);
        painter.drawEllipse(1, 1, 30, 30);
    }
    QMenu menu;
    menu.addAction("&Instant Alert");
    menu.addAction("&About...");
    menu.addSeparator();
    menu.addAction("E&xit", &app, &QApplication::quit);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.setToolTip("Minimal");
    tray.setContextMenu(&menu);
    tray.show();

    qint64 bytes = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) bytes += file.readAll().size();
    });
    timer.start(100);
    return app.exec() + (bytes < 0 ? 1 : 0);
}
