#include "qt/shell/tray_menu.h"

#include <QTimer>

#include "core/settings/text_encoding.h"

namespace qfd {
namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* separator = menu->addSeparator();
    separator->setObjectName(name);
    return separator;
}

// A path as the caption of an item, shown as it is: an ampersand in it is no access key.
QString PathCaption(const std::string& path, bool exported) {
    QString caption = QString::fromStdString(FileBytesToUtf8(path));
    if (!exported) return caption.replace("&", "&&");
    // Over D-Bus an underscore marks the access key and two stand for one. Qt turns the first
    // ampersand of an exported text into that underscore, whatever follows it, so a path's own
    // ampersand goes out as the full-width one, which looks the same and no rule touches.
    return caption.replace("_", "__").replace("&", QChar(0xFF06));
}

}  // namespace

TrayMenu::TrayMenu() {
    setObjectName("mPopUpSys");
    setTitle("&systray");
    AddItem(this, "mInstant", "&Instant Alert");
    AddItem(this, "mDelayed", "&Delayed Alert");
    network_ = addMenu("&Network Alert");
    network_->setObjectName("mNetworkMenu");
    network_->menuAction()->setObjectName("mNetwork");
    allBut_ = network_->addMenu("&Send To All But...");
    allBut_->setObjectName("mAllButMenu");
    allBut_->menuAction()->setObjectName("mAllBut");
    AddItem(network_, "mAll", "&Send To All");
    AddSeparator(network_, "mSep3");
    // The menu's states keep the separator after "&Send To All" also when no detector follows.
    network_->setSeparatorsCollapsible(false);
    AddSeparator(this, "mSep");
    AddItem(this, "mOptions", "&Options...");
    AddItem(this, "mAbout", "&About...");
    AddSeparator(this, "mSep1");
    AddItem(this, "mExit", "E&xit");
    AddItem(this, "mCancel", "&Cancel");
    // Both arrays start with their designed element 0.
    ShowNetworkMenus({{{"(None)", true, true}}, {{"(None)", true, true}}});
    // "Send To All But..." opens only from inside "Network Alert"; either fills both.
    for (QMenu* menu : {network_, allBut_})
        connect(menu, &QMenu::aboutToShow, this, &TrayMenu::FillNetworkMenus);
}

QAction* TrayMenu::Item(const char* name) const { return findChild<QAction*>(name); }

void TrayMenu::SetCommandsEnabled(bool enabled) {
    for (const char* name : {"mInstant", "mDelayed", "mNetwork", "mOptions", "mAbout", "mExit"})
        Item(name)->setEnabled(enabled);
}

void TrayMenu::ShowNetworkMenus(const NetworkMenus& menus) {
    pending_ = menus;
    // A tray host that draws the exported menu itself sizes a submenu by what it held when it
    // opened, before the program could fill it: there the entries are built right after.
    if (exported_) QTimer::singleShot(0, this, &TrayMenu::FillNetworkMenus);
}

void TrayMenu::FillNetworkMenus() {
    if (!pending_) return;
    FillArray(allBut_, allButItems_, pending_->allButItems, "mAllButItem");
    FillArray(network_, networkItems_, pending_->networkItems, "mNetworkItem");
    pending_.reset();
}

void TrayMenu::FillArray(QMenu* menu, std::vector<QAction*>& items,
                         const std::vector<NetworkMenuItem>& model, const char* name) {
    while (items.size() > model.size()) {
        delete items.back();
        items.pop_back();
    }
    for (std::size_t i = 0; i < model.size(); ++i) {
        if (i == items.size()) {
            auto* action = new QAction(menu);
            action->setObjectName(name);
            action->setProperty("index", static_cast<int>(i));
            menu->addAction(action);
            items.push_back(action);
            const int index = static_cast<int>(i);
            connect(action, &QAction::triggered, this, [this, name, index] {
                if (arrayItemChosen) arrayItemChosen(QString::fromLatin1(name), index);
            });
        }
        items[i]->setText(PathCaption(model[i].caption, exported_));
        items[i]->setEnabled(model[i].enabled);
        items[i]->setVisible(model[i].visible);
    }
}

}  // namespace qfd
