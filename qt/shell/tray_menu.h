#pragma once

#include <QAction>
#include <QMenu>
#include <functional>
#include <optional>
#include <vector>

#include "core/network/network_menus.h"

namespace qfd {

// The tray icon's popup menu mPopUpSys: every item carries its control name as objectName, the
// items of the two network arrays also their index in the property "index".
class TrayMenu : public QMenu {
  public:
    TrayMenu();

    QAction* Item(const char* name) const;
    // The commands, all but "&Cancel": off while a modal window is open.
    void SetCommandsEnabled(bool enabled);
    // The submenus take the entries when one of them is about to open: with hundreds of
    // detectors, building them costs milliseconds that the start has better use for.
    void ShowNetworkMenus(const NetworkMenus& menus);
    // The menu goes to a StatusNotifierItem host over D-Bus rather than being shown by Qt; the
    // paths in it are written for that host's rules.
    void SetExported(bool exported) { exported_ = exported; }

    // Where a chosen item of mNetworkItem or mAllButItem goes: the array's name and the index.
    std::function<void(const QString& array, int index)> arrayItemChosen;

  private:
    void FillNetworkMenus();
    void FillArray(QMenu* menu, std::vector<QAction*>& items,
                   const std::vector<NetworkMenuItem>& model, const char* name);

    QMenu* network_ = nullptr;
    QMenu* allBut_ = nullptr;
    std::vector<QAction*> allButItems_;
    std::vector<QAction*> networkItems_;
    std::optional<NetworkMenus> pending_;  // entries not built yet
    bool exported_ = false;
};

}  // namespace qfd
