#include "TIndicationForm.h"

#include "DeviceMib.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvOptionList.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "OvWidgetText.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using ovkit::control;

namespace {

QLabel* valueLabel(QWidget* parent, const char* name, const QString& unit) {
    QLabel* label = ovkit::label(parent, name, QString(), nullptr);
    QPalette look = label->palette();
    look.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(look);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(40);
    label->setAccessibleDescription(unit);
    return label;
}

} // namespace

TIndicationForm::TIndicationForm(QWidget* owner) : OvDialog(owner) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TIndicationForm::~TIndicationForm() {
    FormClose();
}

void TIndicationForm::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Status \\ Indication"));
    GroupBox1 = control<QGroupBox>(this, "GroupBox1");
    GroupBox1->setTitle(QStringLiteral(" Indication"));
    TemStaticText = ovkit::label(GroupBox1, "TemStaticText",
                                 QStringLiteral("   Temperature indication "), nullptr);
    TemStaticText->setAutoFillBackground(true);
    QPalette banner = TemStaticText->palette();
    banner.setColor(QPalette::Window, Qt::gray);
    banner.setColor(QPalette::WindowText, Qt::white);
    TemStaticText->setPalette(banner);

    ProgressBar1 = control<QProgressBar>(GroupBox1, "ProgressBar1");
    ProgressBar1->setRange(kBarMinimum, kBarMaximum);
    ProgressBar1->setValue(kBarMinimum);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(220);
    ProgressBar1->setAccessibleName(TemStaticText->text().trimmed());
    ProgressBar1->setAccessibleDescription(QStringLiteral("-40 to 120 degrees Celsius"));
    Label1 = ovkit::label(GroupBox1, "Label1", QStringLiteral("-40"), nullptr);
    Label2 = ovkit::label(GroupBox1, "Label2", QStringLiteral("120"), nullptr);
    Lab_Tempreture = valueLabel(GroupBox1, "Lab_Tempreture", QStringLiteral("Degrees Celsius"));
    Image3 = ovkit::label(GroupBox1, "Image3", QStringLiteral("\u00B0C"), nullptr);
    LAB_Tempretureh =
        valueLabel(GroupBox1, "LAB_Tempretureh", QStringLiteral("Degrees Fahrenheit"));
    Image4 = ovkit::label(GroupBox1, "Image4", QStringLiteral("\u00B0F"), nullptr);

    auto* bar = new QHBoxLayout;
    bar->addWidget(Label1);
    bar->addWidget(ProgressBar1, 1);
    bar->addWidget(Label2);
    auto* values = new QHBoxLayout;
    values->addStretch();
    for (QLabel* shown : {Lab_Tempreture, Image3, LAB_Tempretureh, Image4})
        values->addWidget(shown);
    values->insertSpacing(3, 24);
    values->addStretch();
    auto* inside = new QVBoxLayout(GroupBox1);
    inside->addWidget(TemStaticText);
    inside->addLayout(bar);
    inside->addLayout(values);

    CloseButton = ovkit::button(this, "CloseButton", QStringLiteral("Close"));
    StatusBar1 = control<OvStatusBar>(this, "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->addPanel(0);
    Timer1 = control<QTimer>(this, "Timer1");
    Timer1->setInterval(ov::scaledInterval(10000));

    QVBoxLayout* content = ovkit::contentAboveStatusBar(this, StatusBar1, 10);
    content->addWidget(GroupBox1);
    content->addLayout(ovkit::buttonsAtRight({CloseButton}));
    setFixedSize(sizeHint().expandedTo({340, 0}));

    ov::onSignal(CloseButton, &QPushButton::clicked, this, [this] { close(); });
    ov::onSignal(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TIndicationForm::FormCreate() {
    try {
        temperature_ = bindings_.make<OvSNMPRequest2Edits>(this);
        temperature_->request.varList.Assign(OvSNMPVarList(mib::T79, SVT_SV, 0));
        temperature_->BindControl(0, Lab_Tempreture);
        temperature_->OnGetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
            ShowTemperature(result);
        };
        temperature_->SetStatusTarget(StatusBar1->panel(0));
        read();
    } catch (...) {
        StatusBar1->panel(0)->setText(ov::errorText(std::current_exception()));
    }
}

// The flag is down again once the reading ends in any way, also when it could
// not start.
void TIndicationForm::read() {
    reading_.set();
    reading_.startWalk(*temperature_);
}

void TIndicationForm::showEvent(QShowEvent* event) {
    OvDialog::showEvent(event);
    if (!event->spontaneous() && !Timer1->isActive())
        Timer1->start();
}

// A reading still outstanding is left to end rather than doubled.
void TIndicationForm::Timer1Timer() {
    if (temperature_ == nullptr || reading_.isSet())
        return;
    ProgressBar1->setValue(kBarMinimum);
    try {
        read();
    } catch (...) {
        StatusBar1->panel(0)->setText(ov::errorText(std::current_exception()));
    }
}

// A reading that is no number (the device lacks the sensor, or sent something
// else) shows no number, rather than one made up.
void TIndicationForm::ShowTemperature(const OvSNMPError& result) {
    reading_.clear();
    StatusBar1->panel(0)->setText(ov::widgetText(result.message));
    if (result.code != 0)
        return;
    const auto view = ovrules::temperatureView(temperature_->request.varList.Item(0).value);
    if (!view) {
        Lab_Tempreture->clear();
        LAB_Tempretureh->clear();
        ProgressBar1->setValue(kBarMinimum);
        return;
    }
    ProgressBar1->setValue(view->bar);
    LAB_Tempretureh->setText(QString::number(view->fahrenheit));
}

bool TIndicationForm::FormCloseQuery() {
    if (reading_.isSet())
        return false;
    Timer1->stop();
    return true;
}

void TIndicationForm::FormClose() {
    Timer1->stop();
    bindings_.release();
    temperature_ = nullptr;
}

#include "moc_TIndicationForm.cpp"
