// A frmOptions view that records what the presenter told it and answers its dialogs from the
// test's script.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/options/options_view.h"

namespace qfd::test {

class FakeOptionsView : public OptionsView {
  public:
    struct ColourRequest {
        std::uint32_t initial;
        std::string title;
    };

    std::map<TextBox, std::string> text;
    std::map<TextBox, std::optional<std::string>> toolTip;  // nothing: still the designed tip
    std::map<TextBox, int> caretAtEnd;                      // how often
    std::map<TextBox, int> selectedAll;
    std::map<TextBox, int> textSets;
    int sound = 1;     // designed: "Whoop"
    int netDelay = 1;  // designed: "&Instant network alert"
    bool small = false;
    std::map<std::pair<Swatch, int>, std::uint32_t> swatch;
    std::uint32_t Fill(Swatch s, int index) { return swatch[{s, index}]; }
    std::uint32_t previewFill = 0xDEADBEEF;
    std::uint32_t previewTextColour = 0xDEADBEEF;
    std::string previewCaption = "Preview";
    bool previewButtonVisible = true;
    bool previewShapeVisible = false;
    bool previewLabelVisible = false;
    bool previewTimerEnabled = false;
    std::vector<std::string> rows;
    int selectedRow = -1;
    bool iconSet = false;
    int closeRequests = 0;

    // Scripted answers; a chooser with no answer left is cancelled, a question answered No.
    std::deque<std::uint32_t> colourAnswers;
    std::deque<std::string> fileAnswers;
    std::deque<bool> yesNoAnswers;
    std::vector<ColourRequest> colourRequests;
    std::vector<FileChooserRequest> fileRequests;
    std::vector<std::string> questions;
    std::vector<std::string> refusals;

    std::string Text(TextBox box) const override {
        const auto it = text.find(box);
        return it == text.end() ? std::string() : it->second;
    }
    void SetText(TextBox box, const std::string& bytes) override {
        text[box] = bytes;
        ++textSets[box];
    }
    void SetToolTip(TextBox box, const std::string& bytes) override { toolTip[box] = bytes; }
    void PutCaretAtEnd(TextBox box) override { ++caretAtEnd[box]; }
    void SelectAllText(TextBox box) override { ++selectedAll[box]; }
    void SelectSound(int index) override { sound = index; }
    void SelectNetDelay(int index) override { netDelay = index; }
    void SetSmallTicked(bool ticked) override { small = ticked; }
    bool SmallTicked() const override { return small; }
    void SetSwatchColour(Swatch s, int index, std::uint32_t colour) override {
        swatch[{s, index}] = colour;
    }
    void SetPreviewFill(std::uint32_t colour) override { previewFill = colour; }
    void SetPreviewTextColour(std::uint32_t colour) override { previewTextColour = colour; }
    void SetPreviewCaption(const std::string& bytes) override { previewCaption = bytes; }
    void SetPreviewButtonVisible(bool v) override { previewButtonVisible = v; }
    void SetPreviewShapeVisible(bool v) override { previewShapeVisible = v; }
    void SetPreviewLabelVisible(bool v) override { previewLabelVisible = v; }
    void SetPreviewTimerEnabled(bool e) override { previewTimerEnabled = e; }
    void ClearNetworkRows() override {
        rows.clear();
        selectedRow = -1;
    }
    void AddNetworkRow(const std::string& bytes) override { rows.push_back(bytes); }
    void SetNetworkRow(int index, const std::string& bytes) override {
        rows.at(static_cast<std::size_t>(index)) = bytes;
    }
    int SelectedNetworkRow() const override { return selectedRow; }
    std::uint32_t ChooseColour(std::uint32_t initial, const std::string& title) override {
        colourRequests.push_back({initial, title});
        if (colourAnswers.empty()) return initial;
        const std::uint32_t answer = colourAnswers.front();
        colourAnswers.pop_front();
        return answer;
    }
    std::string ChooseFile(const FileChooserRequest& request) override {
        fileRequests.push_back(request);
        if (fileAnswers.empty()) return {};
        std::string answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        if (yesNoAnswers.empty()) return false;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    void Refuse(const std::string& message) override { refusals.push_back(message); }
    void SetMainWindowIcon() override { iconSet = true; }
    void CloseWindow() override { ++closeRequests; }
};

}  // namespace qfd::test
