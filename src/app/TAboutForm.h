// Help > About: the model, the release, and a hidden build label that
// Shift+Ctrl+F3 on the OK button reveals.
#pragma once

#include "OvDialog.h"

class QLabel;
class QPushButton;

class TAboutForm : public OvDialog {
    Q_OBJECT
public:
    TAboutForm(const QString& modelName, QWidget* parent);

    QLabel* ProductName;
    QLabel* VersionCaption;
    QLabel* Version;
    QLabel* ProgramIcon;
    QLabel* BuildLabel;
    QPushButton* OKButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
