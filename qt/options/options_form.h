#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <array>

#include "core/options/form_design.h"
#include "qt/options/filled_shape.h"

namespace qfd {

// frmOptions' window and controls, laid out in twips as designed. Every control carries its
// control name as objectName; the members of a control array also their index in the property
// "index". The behaviour is wired up by QtOptionsView.
class OptionsForm : public QDialog {
  public:
    explicit OptionsForm(QWidget* owner);

    // Centres the window on the screen that holds the owner, or else the mouse pointer.
    void Centre();

    QListWidget* lstNetwork;
    QPushButton* cmdBrowse;
    QPushButton* cmdRemove;
    QLineEdit* txtMyName;
    QLineEdit* txtDelay;
    QLineEdit* txtLatency;
    QCheckBox* chkSmall;
    std::array<QRadioButton*, 2> optDelay;
    QButtonGroup* netDelayGroup;
    std::array<QPushButton*, 2> cmdCol;
    std::array<QPushButton*, 2> cmdColTxt;
    std::array<FilledShape*, 2> shpCol;
    std::array<FilledShape*, 2> shpColTxt;
    QLineEdit* txtAlertText1;
    QLineEdit* txtAlertText2;
    std::array<QRadioButton*, 4> alertSound;
    QButtonGroup* soundGroup;
    QPushButton* cmdPlaySound;
    FilledShape* shpPreview;
    QLabel* lblPreview;
    QPushButton* cmdPreview;
    QPushButton* cmdDefaults;
    QPushButton* cmdClose;
    QTimer* Timer1;

  private:
    // Builds the designed controls, back to front so that each stands in front of those after it
    // in the design, inside its container.
    void CreateControls();
    QWidget* CreateControl(const design::Control& design);
    void FindControls();
    void SetTabOrder();
    template <typename T>
    T* Child(const char* name, int index = -1) const;
};

}  // namespace qfd
