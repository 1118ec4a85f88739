#include "reduce/gui/CalibPanels.h"

#include "files/FileAccess.h"
#include "files/ShareData.h"
#include "shell/gui/FormSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace raylen {

namespace {

constexpr const char* noExtinction = "なし";

std::string cardText(const HeaderCards& cards, std::initializer_list<const char*> keys)
{
    for (const char* key : keys)
        if (const std::string* card = findValueCard(cards, key))
            return cardValue(*card);
    return {};
}

QLineEdit* box(QWidget* parent, const char* name, const std::string& text = {})
{
    auto* edit = new QLineEdit(qt(text), parent);
    edit->setObjectName(name);
    return edit;
}

bool parseNumber(const QLineEdit* edit, double& value)
{
    const std::string text = edit->text().trimmed().toStdString();
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0' && std::isfinite(value);
}

QComboBox* shippedChoice(QWidget* parent, const char* name, const char* folder, bool withNone)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    if (withNone)
        combo->addItem(qt(noExtinction));
    for (const std::string& table : shippedTables(folder))
        combo->addItem(qt(table));
    return combo;
}

} // namespace

std::string masksText(const std::vector<WaveRange>& masks)
{
    std::string text;
    char item[48];
    for (const WaveRange& m : masks) {
        std::snprintf(item, sizeof item, "%s%g:%g", text.empty() ? "" : " ", m.lo, m.hi);
        text += item;
    }
    return text;
}

bool parseMasks(const std::string& text, std::vector<WaveRange>& masks)
{
    std::istringstream in(text);
    std::vector<WaveRange> read;
    std::string item;
    while (in >> item) {
        WaveRange r;
        char colon = 0;
        std::istringstream pair(item);
        if (!(pair >> r.lo >> colon >> r.hi) || colon != ':' || !pair.eof())
            return false;
        read.push_back(r);
    }
    masks = std::move(read);
    return true;
}

void AtmosphereFields::create(QWidget* parent, const HeaderCards& cards, bool optional)
{
    auto* grid = new QGridLayout(parent);
    grid->setContentsMargins(0, 0, 0, 0);
    int row = 0;
    if (optional) {
        chkApply = new QCheckBox(qt("露出時間と大気減光で割る"), parent);
        chkApply->setObjectName("chkAtmosphere");
        grid->addWidget(chkApply, row++, 0, 1, 4);
    }
    txtExptime = box(parent, "txtExptime", cardText(cards, {"EXPTIME"}));
    txtAirmass = box(parent, "txtAirmass", cardText(cards, {"AIRMASS"}));
    cboExtinction = shippedChoice(parent, "cboExtinction", extinctionFolder, true);
    grid->addWidget(new QLabel(qt("露出時間"), parent), row, 0);
    grid->addWidget(txtExptime, row, 1);
    grid->addWidget(new QLabel(qt("エアマス"), parent), row, 2);
    grid->addWidget(txtAirmass, row, 3);
    grid->addWidget(new QLabel(qt("大気減光"), parent), row + 1, 0);
    grid->addWidget(cboExtinction, row + 1, 1, 1, 3);
    if (chkApply) {
        for (QWidget* field : std::initializer_list<QWidget*>{txtExptime, txtAirmass, cboExtinction}) {
            field->setEnabled(false);
            QObject::connect(chkApply, &QCheckBox::toggled, field, &QWidget::setEnabled);
        }
    }
}

std::string AtmosphereFields::read(bool& wanted, double& exptime, double& airmass, ExtinctionTable& table,
                                   bool& hasTable) const
{
    wanted = (chkApply == nullptr || chkApply->isChecked()) && !txtExptime->text().trimmed().isEmpty();
    hasTable = false;
    if (!wanted)
        return {};
    if (!parseNumber(txtExptime, exptime) || !(exptime > 0))
        return "露出時間は正の数で指定してください";
    const std::string name = cboExtinction->currentText().trimmed().toStdString();
    if (name.empty() || name == noExtinction) {
        airmass = 0;
        return {};
    }
    if (!parseNumber(txtAirmass, airmass) || airmass < 0)
        return "エアマスは0以上の数で指定してください";
    const std::string path = resolveShippedTable(extinctionFolder, name);
    std::string message = sfReadExtinctionTable(path, table);
    hasTable = message.empty();
    return message;
}

void SensFuncPanel::create(QWidget* parent, const HeaderCards& cards)
{
    page = new QWidget(parent);
    page->setObjectName("picSensFunc");
    auto* form = new QFormLayout(page);
    cboStandard = shippedChoice(page, "cboStandard", standardsFolder, false);
    cmdStandard = new QPushButton(qt("参照"), page);
    cmdStandard->setObjectName("cmdStandard");
    auto* standardRow = new QHBoxLayout;
    standardRow->addWidget(cboStandard, 1);
    standardRow->addWidget(cmdStandard);
    form->addRow(qt("標準星"), standardRow);
    auto* atmosphereBox = new QWidget(page);
    atmosphere.create(atmosphereBox, cards, false);
    form->addRow(atmosphereBox);
    txtSensOrder = box(page, "txtSensOrder", std::to_string(defaultSensOrder));
    form->addRow(qt("次数"), txtSensOrder);
    txtMasks = box(page, "txtMasks", masksText(defaultSensMasks()));
    form->addRow(qt("マスク"), txtMasks);
    char reject[32];
    std::snprintf(reject, sizeof reject, "%g:%g:%d", defaultSensReject.low, defaultSensReject.high,
                  defaultSensReject.iterations);
    txtSensReject = box(page, "txtSensReject", reject);
    form->addRow(qt("棄却σ"), txtSensReject);
}

std::string SensFuncPanel::read(StandardTable& standard, ExtinctionTable& extinction, bool& hasExtinction,
                                SensFuncSettings& settings) const
{
    const std::string name = cboStandard->currentText().trimmed().toStdString();
    const std::string path = resolveShippedTable(standardsFolder, name);
    if (name.empty() || !dfIsFileExist(path))
        return "ファイルが存在しません。";
    std::string message = sfReadStandardTable(path, standard);
    if (!message.empty())
        return message;
    bool wanted = false;
    message = atmosphere.read(wanted, settings.exptime, settings.airmass, extinction, hasExtinction);
    if (!message.empty())
        return message;
    if (!wanted)
        settings.exptime = 1.0;
    double order = 0;
    if (!parseNumber(txtSensOrder, order) || order < 0 || order > 100 || order != std::floor(order))
        return "次数は0以上の整数で指定してください";
    settings.order = static_cast<int>(order);
    if (!parseMasks(txtMasks->text().toStdString(), settings.masks))
        return "マスクは A1:A2 の形で空白で区切って指定してください";
    const std::string reject = txtSensReject->text().trimmed().toStdString();
    settings.reject = {};
    if (!reject.empty() && !parseRejectOptions(reject, settings.reject))
        return "棄却σは 下:上[:回] の形で指定してください";
    return {};
}

void BaryCorrPanel::create(QWidget* parent, const HeaderCards& cards)
{
    page = new QWidget(parent);
    page->setObjectName("picBaryCorr");
    auto* form = new QFormLayout(page);
    cboKind = new QComboBox(page);
    cboKind->setObjectName("cboKind");
    cboKind->addItem(qt("太陽系重心"));
    cboKind->addItem(qt("太陽中心"));
    form->addRow(qt("補正"), cboKind);
    txtRa = box(page, "txtRa", cardText(cards, {"RA", "OBJCTRA"}));
    form->addRow(qt("赤経"), txtRa);
    txtDec = box(page, "txtDec", cardText(cards, {"DEC", "OBJCTDEC"}));
    form->addRow(qt("赤緯"), txtDec);
    std::string site;
    const std::string lon = cardText(cards, {"SITELONG", "GEO_LONG"}), lat = cardText(cards, {"SITELAT", "GEO_LAT"});
    if (!lon.empty() && !lat.empty()) {
        const std::string height = cardText(cards, {"SITEELEV", "GEO_ELEV"});
        site = lon + "," + lat + "," + (height.empty() ? "0" : height);
    }
    txtSite = box(page, "txtSite", site);
    form->addRow(qt("観測地 経度,緯度,標高"), txtSite);
    txtDateObs = box(page, "txtDateObs", cardText(cards, {"DATE-OBS"}));
    form->addRow(qt("観測開始 (UTC)"), txtDateObs);
    txtExptime = box(page, "txtBaryExptime", cardText(cards, {"EXPTIME"}));
    form->addRow(qt("露出時間"), txtExptime);
}

std::string BaryCorrPanel::read(Observation& o, VelocityFrame& frame) const
{
    frame = cboKind->currentIndex() == 1 ? VelocityFrame::heliocentric : VelocityFrame::barycentric;
    if (!parseRightAscension(txtRa->text().trimmed().toStdString(), o.raDeg))
        return "赤経は度または時:分:秒で指定してください";
    if (!parseDeclination(txtDec->text().trimmed().toStdString(), o.decDeg))
        return "赤緯は度または度:分:秒で指定してください";
    double site[3] = {0, 0, 0};
    const QStringList parts = txtSite->text().split(',');
    bool ok = parts.size() == 3;
    for (int k = 0; ok && k < 3; ++k)
        site[k] = parts[k].trimmed().toDouble(&ok);
    if (!ok)
        return "観測地は 経度,緯度,標高 で指定してください";
    o.longitudeDeg = site[0];
    o.latitudeDeg = site[1];
    o.heightM = site[2];
    if (!parseIsoDate(txtDateObs->text().trimmed().toStdString(), o.start))
        return "観測日時が正しくありません";
    o.exptime = 0;
    if (!txtExptime->text().trimmed().isEmpty() && (!parseNumber(txtExptime, o.exptime) || o.exptime < 0))
        return "露出時間は0以上の数で指定してください";
    return {};
}

} // namespace raylen
