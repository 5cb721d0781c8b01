#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/shell/splash_view.h"

namespace qfd::test {

// Records what the presenter asks of the screen, one line per call. Modal shows run a hook, so a
// test can act from inside the nested event loop the way a user or a timer would.
class FakeSplashView : public SplashView {
  public:
    std::vector<std::string> calls;
    std::vector<MessageRequest> messages;
    std::deque<MessageAnswer> answers;  // answers to message boxes, Ok/No when run out
    std::function<void()> duringAlert;
    std::function<void()> duringOptions;
    std::function<void()> duringMessage;
    NetworkMenus menus;

    bool windowVisible = false;
    bool timerEnabled = false;
    int timerInterval = 0;
    bool receiptTimerEnabled = false;
    std::vector<TrayNotice> notices;
    int alerts = 0;
    bool websiteHovered = false;
    bool emailHovered = false;

    void SetVersionText(const std::string& text) override { Record("version " + text); }
    void SetLinkLook(LinkLabel label, bool hovered) override {
        (label == LinkLabel::Website ? websiteHovered : emailHovered) = hovered;
    }
    void ShowWindow() override {
        windowVisible = true;
        Record("show");
    }
    void HideWindow() override {
        windowVisible = false;
        Record("hide");
    }
    void RestoreWindow() override { Record("restore"); }
    void BringToForeground() override { Record("foreground"); }
    void BringModalToFront() override { Record("modal to front"); }
    void SetTimerInterval(int ms) override {
        timerInterval = ms;
        Record("interval " + std::to_string(ms));
    }
    void SetTimerEnabled(bool enabled) override {
        timerEnabled = enabled;
        Record(enabled ? "timer on" : "timer off");
    }
    void ShowAlertModal() override {
        ++alerts;
        Record("alert");
        if (duringAlert) duringAlert();
        Record("alert closed");
    }
    void ShowOptionsModal() override {
        Record("options");
        if (duringOptions) duringOptions();
        Record("options closed");
    }
    MessageAnswer ShowMessage(const MessageRequest& request) override {
        messages.push_back(request);
        Record("message");
        if (duringMessage) duringMessage();
        if (answers.empty())
            return request.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
        MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void OpenLink(const std::string& target) override { Record("open " + target); }
    void AddTrayIcon() override { Record("tray add"); }
    void RemoveTrayIcon() override { Record("tray remove"); }
    void ShowNetworkMenus(const NetworkMenus& m) override {
        menus = m;
        Record("menus");
    }
    void PopupMenu() override { Record("popup"); }
    void SetReceiptTimerEnabled(bool enabled) override { receiptTimerEnabled = enabled; }
    void ShowTrayNotice(const TrayNotice& notice) override { notices.push_back(notice); }
    void EndProgram() override { Record("end"); }

    void Record(std::string call) { calls.push_back(std::move(call)); }
};

}  // namespace qfd::test
