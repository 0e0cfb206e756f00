// The generic editor window: builds an editing window for any variable list at
// run time, one row per variable, with its buttons and message memo.
#pragma once

#include "OvDialog.h"

#include <QPointer>

#include <memory>
#include <vector>

class OvSNMPRequest2Edits;
class TSNMPEditorPanel;

class TConfigForm : public OvDialog {
    Q_OBJECT
public:
    // The window's own message: refresh the current binding once it runs.
    static constexpr int kRefreshMessage = 34002;
    static constexpr int kMaxWidth = 800;
    static constexpr int kMaxHeight = 550;

    explicit TConfigForm(QWidget* owner);
    ~TConfigForm() override;

    // Takes the binding and builds its editor; once only (a second call raises
    // "Can not change Type of a Config Form!").
    TSNMPEditorPanel* SetEditor(std::unique_ptr<OvSNMPRequest2Edits> binding);
    void SetValueWidth(TSNMPEditorPanel* panel, int width);
    // Makes the first binding the current one and refreshes it.
    void RefreshCurrent();
    void CloseButton();

    OvSNMPRequest2Edits* currentBinding() const { return current_; }
    OvSNMPRequest2Edits* binding(int index) const;
    TSNMPEditorPanel* editorPanel() const { return panel_; }

protected:
    void customEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void FormClose() override;

private:
    void FitWindow();
    void stopBindings();

    OvSNMPRequest2Edits* current_ = nullptr;
    std::vector<std::unique_ptr<OvSNMPRequest2Edits>> bindings_;
    int editor_ = 0;
    TSNMPEditorPanel* panel_ = nullptr;
    QPointer<QWidget> owner_;
};
