#include "TAboutForm.h"

#include "OvFrontPanel.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

QLabel* plainLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TAboutForm::TAboutForm(const QString& modelName, QWidget* parent) : OvDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    const QString modelSuffix; // the sibling models share the text
    ProductName = plainLabel(modelName + modelSuffix + QStringLiteral(" Management Module"),
                             "ProductName", this);
    QFont bold = ProductName->font();
    bold.setBold(true);
    ProductName->setFont(bold);
    VersionCaption = plainLabel(QStringLiteral("Release Version:"), "VersionCaption", this);
    Version = plainLabel(QStringLiteral("v1.00"), "Version", this);
    VersionCaption->setBuddy(Version);
    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setAccessibleName(QStringLiteral("Front panel of the ") + modelName);
    ProgramIcon->setPixmap(
        ov::frontPanelPicture(modelName).scaledToWidth(195, Qt::SmoothTransformation));
    BuildLabel = plainLabel(QStringLiteral("R09(2006/03/09)"), "BuildLabel", this);
    BuildLabel->hide();
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->installEventFilter(this);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(ProgramIcon, 0, 0, 1, 2, Qt::AlignCenter);
    layout->addWidget(ProductName, 1, 0, 1, 2);
    layout->addWidget(VersionCaption, 2, 0);
    layout->addWidget(Version, 2, 1);
    layout->addWidget(BuildLabel, 3, 0, 1, 2);
    layout->addWidget(OKButton, 4, 0, 1, 2, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (const QScreen* screen = this->screen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
    OKButton->setFocus();
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == OKButton && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto held =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (key->key() == Qt::Key_F3 && held == (Qt::ShiftModifier | Qt::ControlModifier)) {
            BuildLabel->show();
            return true;
        }
    }
    return OvDialog::eventFilter(watched, event);
}

#include "moc_TAboutForm.cpp"
