// The panels of the generic editor: a button column, a message memo, rows of
// check box, name and value control for every variable of a list, and the
// panel that puts them together around one binding.
#pragma once

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class OvSNMPRequest2Edits;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSplitter;

// The button column on the right.
class TCtrlBtnPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 116;
    static constexpr int kButtonWidth = 96;

    explicit TCtrlBtnPanel(QWidget* parent = nullptr);

    // Places the visible controls from the top, 5 pixels apart.
    void Arrange();
    int columnHeight() const;

    QLabel* St_Counter;
    QLabel* La_Samples;
    QPushButton* Bt_Refresh;
    QPushButton* Bt_Edit;
    QPushButton* Bt_SetChecked;
    QPushButton* Bt_Add;
    QPushButton* Bt_Delete;
    QPushButton* Bt_CheckAll;
    QPushButton* Bt_ClearChecks;
    QPushButton* Bt_Close;

private:
    QPushButton* button(const QString& caption, const QString& name, const QString& bitmap);
    std::vector<QWidget*> column_;
};

// The message area at the bottom: a memo that is the binding's status target.
class TMsgPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 50;
    explicit TMsgPanel(QWidget* parent = nullptr);
    QSize sizeHint() const override { return {200, kHeight}; }
    QPlainTextEdit* Memo;
};

// One row per variable: check box, name, value control bound to the variable.
class TEditsPanel : public QWidget {
    Q_OBJECT
public:
    enum RowKind { ReadOnly = 1, Editable = 2, Choice = 3, ReadOnlyChoice = 4 };
    struct Row {
        RowKind kind = ReadOnly;
        const char* format = "%s";
        QWidget* value = nullptr;
        QCheckBox* check = nullptr;
        QLabel* name = nullptr;
    };

    TEditsPanel(OvSNMPRequest2Edits& binding, QWidget* parent = nullptr);

    int valueWidth() const { return valueWidth_; }
    void setValueWidth(int width) { valueWidth_ = width; }
    // Lays the rows out from the top and sizes the rows' area.
    void LayoutRows();
    QSize rowsSize() const;
    QSize sizeHint() const override { return rowsSize(); }

    const std::vector<Row>& rows() const { return rows_; }
    int writableCount() const;

signals:
    void checkClicked();

private:
    void buildRow(int position);
    void applyLook(const Row& row);

    OvSNMPRequest2Edits& binding_;
    int valueWidth_ = 121;
    std::vector<Row> rows_;
    QScrollArea* scroll_;
    QWidget* area_;
};

// Button column, client area and message panel, with their splitters.
class TSNMPPanel : public QWidget {
    Q_OBJECT
public:
    explicit TSNMPPanel(QWidget* parent = nullptr);

    TCtrlBtnPanel* buttons() const { return buttons_; }
    TMsgPanel* messages() const { return messages_; }
    QWidget* client() const { return client_; }

protected:
    QSplitter* vertical_;
    QSplitter* horizontal_;
    QWidget* client_;
    TCtrlBtnPanel* buttons_;
    TMsgPanel* messages_;
};

// The editor of one binding.
class TSNMPEditorPanel : public TSNMPPanel {
    Q_OBJECT
public:
    TSNMPEditorPanel(OvSNMPRequest2Edits& binding, QWidget* parent = nullptr);

    OvSNMPRequest2Edits& binding() const { return binding_; }
    TEditsPanel* edits() const { return edits_; }

    // The panel's size for its rows, buttons and messages.
    QSize fittingSize() const;
    void ArrangeButtons();
    void fitSplitters();

    void RefreshButton();
    void ApplyChecked();
    void CheckClicked();
    void CheckAll();
    void ClearChecks();

signals:
    void closeRequested();

private:
    bool anyVisibleChecked() const;
    void showFailure(int operation);

    OvSNMPRequest2Edits& binding_;
    TEditsPanel* edits_;
    std::shared_ptr<std::string> lastFailure_; // the last SNMP failure of a synchronous call
};
