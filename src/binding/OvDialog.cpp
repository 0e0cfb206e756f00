#include "OvDialog.h"

#include "OvGuard.h"

OvDialog::OvDialog(QWidget* parent) : QDialog(parent) {
    setModal(true);
}

void OvDialog::reject() {
    bool canClose = false;
    if (!ov::runGuarded([&] { canClose = FormCloseQuery(); }) || !canClose)
        return;
    ov::runGuarded([&] { FormClose(); });
    QDialog::reject();
}

#include "moc_OvDialog.cpp"
