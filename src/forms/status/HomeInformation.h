// "Home \ Information": the MIB-II system group in the generic editor, where
// contact, name and location can be changed.
#pragma once

#include <memory>

class QWidget;
class TConfigForm;

// The window, built and refreshed, not yet shown.
std::unique_ptr<TConfigForm> CreateInformationForm(QWidget* mainWindow);

// Shows the window modally and frees it when it closes.
void ShowInformationWindow(QWidget* mainWindow);
