// Shows boxes with nobody to answer them: run with OV_DIALOGS=auto, it must end
// at once, with the default answers, having printed what it showed.
#include "OvDialogs.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const auto answer =
        ov::messageBox(nullptr, "Warning", "Reset the device?", QMessageBox::Yes | QMessageBox::No);
    ov::errorBox(nullptr, "(OvCommon) Empty value is not allowed!");
    const QString file = ov::openFileDialog(nullptr, "Open", "/", "*.tfp");
    return answer == QMessageBox::Yes && file.isEmpty() ? 0 : 3;
}
