// What a screen reader reads in the transfer windows: every control by its
// caption or the text of its label, never by its object name.
#include "OvStatusBar.h"
#include "TFM_CfgFile.h"
#include "TFM_Firmware.h"
#include "TransferTest.h"
#include "widgettest/OvAccessibility.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

#include <map>

namespace {

using namespace transfertest;

class AccessibleNames : public TransferTest {
protected:
    // Every control of the window: its name must be what the design shows
    // for it (the buttons' captions, the boxes' labels), none an object name.
    void expectNames(QWidget* window, const std::map<QString, QString>& expected) {
        const QList<QWidget*> controls = window->findChildren<QWidget*>();
        for (QWidget* control : controls) {
            const bool named = qobject_cast<QAbstractButton*>(control) != nullptr ||
                               qobject_cast<QLineEdit*>(control) != nullptr ||
                               qobject_cast<QComboBox*>(control) != nullptr ||
                               qobject_cast<QGroupBox*>(control) != nullptr ||
                               qobject_cast<OvStatusBar*>(control) != nullptr;
            if (!named || control->objectName().isEmpty())
                continue;
            const QString name = ovtest::accessibleName(control);
            SCOPED_TRACE(control->objectName().toStdString());
            EXPECT_FALSE(name.isEmpty());
            EXPECT_NE(name, control->objectName());
            const auto designed = expected.find(control->objectName());
            if (designed != expected.end()) {
                EXPECT_EQ(name, designed->second);
            }
        }
    }
};

TEST_F(AccessibleNames, TheConfigurationFileWindowReadsItsCaptionsAndLabels) {
    TFM_CfgFile window(main, nullptr);
    ovtest::showActive(&window);
    expectNames(&window, {{"Ed_UpgFile", "Update File"},
                          {"Bt_Browse", "Browse"},
                          {"Bt_OK", "OK"},
                          {"Ed_SaveFile", "Save File"},
                          {"Bt_SavBrw", "Browse"},
                          {"Bt_Upload", "OK"},
                          {"Ed_TfpSrv", "Tftp Server:"},
                          {"CB_TfpCom", "TftpComm:"},
                          {"StatusBar", "Status"}});
    EXPECT_EQ(window.Ed_UpgFile->objectName(), "Ed_UpgFile"); // the design's name stays
}

TEST_F(AccessibleNames, TheFirmwareWindowReadsItsCaptionsAndLabels) {
    TFM_Firmware window(main, nullptr);
    ovtest::showActive(&window);
    expectNames(&window, {{"Ed_UpgFile", "Upgrade File:"},
                          {"Bt_Browse", "Browse"},
                          {"Bt_OK", "OK"},
                          {"Ed_TfpSrv", "Tftp Server:"},
                          {"CB_UpgCom", "UpgrdComm:"},
                          {"StatusBar", "Status"}});
}

} // namespace
