#include "HomeInformation.h"

#include "DeviceMib.h"
#include "OvGuard.h"
#include "OvSNMPRequest2Edits.h"
#include "TConfigForm.h"
#include "TSNMPPanels.h"

std::unique_ptr<TConfigForm> CreateInformationForm(QWidget* mainWindow) {
    auto form = std::make_unique<TConfigForm>(mainWindow);
    form->setObjectName("InformationForm");
    form->setWindowTitle(QStringLiteral("Home \\ Information"));
    auto binding = std::make_unique<OvSNMPRequest2Edits>(form.get());
    binding->request.varList = OvSNMPVarList(mib::T1, SVT_SV, 0);
    OvSNMPRequest2Edits& system = *binding;
    TSNMPEditorPanel* panel = form->SetEditor(std::move(binding));
    form->SetValueWidth(panel, 180);
    try {
        system.Refresh();
    } catch (...) {
        system.ShowStatus(ov::errorText(std::current_exception()));
    }
    return form;
}

void ShowInformationWindow(QWidget* mainWindow) {
    std::unique_ptr<TConfigForm> form = CreateInformationForm(mainWindow);
    form->exec();
}
