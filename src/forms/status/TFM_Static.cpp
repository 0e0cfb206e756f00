#include "TFM_Static.h"

#include "DeviceMib.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvSNMPRequest2Edits.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <string>
#include <vector>

namespace {

// One value of a page: its box's name without the band letter, its label on
// each page (they differ in trailing blanks), whether it is a rate in percent,
// and its group.
struct Field {
    const char* stem;
    const char* labelA;
    const char* labelG;
    bool percent;
    int group;
};

const char* const kGroups[] = {"ThroughPut ", "Transmitted Frame Count ", "Received Frame Count",
                               "Wep Frame Error Count"};

// clang-format off
const Field kFieldTable[TFM_Static::kFields] = {
    {"Ed_TranSuRat", "Transmit Success Rate", "Transmit Success Rate", true, 0},
    {"Ed_TranReRat", "Transmit Retry Rate", "Transmit Retry Rate", true, 0},
    {"Ed_RcvSuRat", "Receive Success Rate", "Receive Success Rate", true, 0},
    {"Ed_RcvDuRat", "Receive Duplicate Rate", "Receive Duplicate Rate", true, 0},
    {"Ed_RTSSuCnt", "RTS Success Count", "RTS Success Count", false, 0},
    {"Ed_RTSFaCnt", "RTS Failure Count", "RTS Failure Count", false, 0},
    {"Ed_TranFrCnt", "Transmitted Frame Count", "Transmitted Frame Count", false, 1},
    {"Ed_McastTranFrCnt", "Multicast Transmitted Frame Count", "Multicast Transmitted Frame Count", false, 1},
    {"Ed_TranErrCnt", "Transmitted Error Count ", "Transmitted Error Count", false, 1},
    {"Ed_TranTtlRtyCnt", "Transmitted Total Retry Count ", "Transmitted Total Retry Count", false, 1},
    {"Ed_TranMulRtyCnt", "Transmitted Multiple Retry Count ", "Transmitted Multiple Retry Count ", false, 1},
    {"Ed_RcvFrmCnt", "Received Frame Count", "Received Frame Count", false, 2},
    {"Ed_MRcvFrmCnt", "Multicast Received Frame Count", "Multicast Received Frame Count", false, 2},
    {"Ed_RcvFrmErrCnt", "Received Frame FCS Error Count", "Received Frame FCS Error Count ", false, 2},
    {"Ed_RcvFrmDupCnt", "Received Frame Duplicate Count", "Received Frame Duplicate Count", false, 2},
    {"Ed_AckRcvfCnt", "Ack Rcv failure Count", "Ack Rcv failure Count", false, 2},
    {"Ed_WEPEFrmCnt", "WEP Excluded Frame Count", "WEP Excluded Frame Count", false, 3},
    {"Ed_WEPIErrCnt", "WEP ICV Error Count", "WEP ICV Error Count", false, 3},
};
// clang-format on

} // namespace

TFM_Static::TFM_Static(QWidget* owner) : OvDialog(owner) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_Static::~TFM_Static() {
    FormClose();
}

void TFM_Static::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Status \\ Stats"));
    PC_Static = ovkit::control<QTabWidget>(this, "PC_Static");
    TabSheetA = buildPage("TabSheetA", 'a', boxesA, Bt_RfrshA, "Bt_RfrshA");
    TabSheetG = buildPage("TabSheetG", 'g', boxesG, Bt_RfrshG, "Bt_RfrshG");
    PC_Static->addTab(TabSheetA, QStringLiteral("IEEE 802.11a"));
    PC_Static->addTab(TabSheetG, QStringLiteral("IEEE 802.11g"));
    ovkit::contentAboveStatusBar(this, nullptr, 8)->addWidget(PC_Static);
    setFixedSize(sizeHint());
    ov::onSignal(Bt_RfrshA, &QPushButton::clicked, this, [this] { Bt_RfrshAClick(); });
    ov::onSignal(Bt_RfrshG, &QPushButton::clicked, this, [this] { Bt_RfrshGClick(); });
}

QWidget* TFM_Static::buildPage(const char* name, char band, std::array<QLineEdit*, kFields>& boxes,
                               QPushButton*& refresh, const char* refreshName) {
    auto* page = ovkit::control<QWidget>(PC_Static, name);
    std::vector<QGridLayout*> grids;
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    for (int g = 0; g < 4; ++g) {
        const std::string groupName = "GroupBox" + std::to_string(g + 1) + band;
        auto* group = ovkit::control<QGroupBox>(page, groupName.c_str());
        group->setTitle(QString::fromLatin1(kGroups[g]));
        grids.push_back(new QGridLayout(group));
        (g < 2 ? left : right)->addWidget(group);
    }
    for (int position = 0; position < kFields; ++position) {
        const Field& field = kFieldTable[position];
        const std::string boxName = field.stem + std::string(1, band);
        QGroupBox* group = qobject_cast<QGroupBox*>(grids[field.group]->parentWidget());
        QLineEdit* box = ovkit::valueBox(group, boxName.c_str(), false);
        box->setAlignment(Qt::AlignRight);
        box->setFixedWidth(90);
        const std::string labelName = "La_" + boxName.substr(3);
        const char* text = band == 'a' ? field.labelA : field.labelG;
        QLabel* label = ovkit::label(group, labelName.c_str(), QString::fromLatin1(text), box);
        QGridLayout* grid = grids[field.group];
        const int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        if (field.percent) {
            const std::string unitName = labelName + "Unit";
            grid->addWidget(ovkit::label(group, unitName.c_str(), QStringLiteral("%"), nullptr),
                            row, 2);
        }
        boxes[static_cast<std::size_t>(position)] = box;
    }
    left->addStretch();
    right->addStretch();
    columns->addLayout(left);
    columns->addLayout(right);
    refresh = ovkit::button(page, refreshName, QStringLiteral("Refresh"));
    auto* content = new QVBoxLayout(page);
    content->addLayout(columns);
    content->addLayout(ovkit::buttonsAtRight({refresh}));
    return page;
}

// Both bindings are made before the first read, so that an error stopping the
// reads leaves no Refresh without its binding; errors here are not reported,
// the boxes not yet filled staying empty.
void TFM_Static::FormCreate() {
    try {
        bandA_ = ovkit::valueBinding(bindings_, this, mib::T37, MVT_SV, 0,
                                     {boxesA.begin(), boxesA.end()});
        bandG_ = ovkit::valueBinding(bindings_, this, mib::T38, MVT_SV, 1,
                                     {boxesG.begin(), boxesG.end()});
        bandA_->Refresh();
        bandG_->Refresh();
    } catch (...) {
    }
}

void TFM_Static::Bt_RfrshAClick() {
    if (bandA_ != nullptr)
        bandA_->Refresh();
}

// A read still on its way is not waited for: the later answer wins.
void TFM_Static::Bt_RfrshGClick() {
    if (bandG_ != nullptr)
        bandG_->Refresh();
}

void TFM_Static::FormClose() {
    bindings_.release();
    bandA_ = bandG_ = nullptr;
}

#include "moc_TFM_Static.cpp"
