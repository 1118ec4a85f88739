#pragma once
// The boxes of the calibration dialog's added choices, each set laid out by
// a Qt layout: the exposure and atmosphere of flux calibration, the
// instrument response from a standard star, and the radial-velocity
// correction. Their defaults come from the current frame's cards.
#include "fits/HeaderCard.h"
#include "reduce/BaryCorr.h"
#include "reduce/CalibTables.h"
#include "reduce/SensFunc.h"

#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace raylen {

// Exposure time, airmass and extinction table ("なし" leaves the
// atmosphere out). With `optional` a check box, off at first, switches
// them on, so that flux calibration stays as it was until asked.
struct AtmosphereFields {
    QCheckBox* chkApply = nullptr;
    QLineEdit* txtExptime = nullptr;
    QLineEdit* txtAirmass = nullptr;
    QComboBox* cboExtinction = nullptr;

    // Adds the rows to a grid layout of `parent`.
    void create(QWidget* parent, const HeaderCards& cards, bool optional);
    // wanted is false while the check box is off or the exposure time empty.
    std::string read(bool& wanted, double& exptime, double& airmass, ExtinctionTable& table, bool& hasTable) const;
};

struct SensFuncPanel {
    QWidget* page = nullptr;
    QComboBox* cboStandard = nullptr; // shipped names or a typed path
    QPushButton* cmdStandard = nullptr;
    AtmosphereFields atmosphere;
    QLineEdit* txtSensOrder = nullptr;
    QLineEdit* txtMasks = nullptr;   // "A1:A2 A3:A4 …"
    QLineEdit* txtSensReject = nullptr; // "LOW:HIGH[:ITER]", empty: off

    void create(QWidget* parent, const HeaderCards& cards);
    std::string read(StandardTable& standard, ExtinctionTable& extinction, bool& hasExtinction,
                     SensFuncSettings& settings) const;
};

struct BaryCorrPanel {
    QWidget* page = nullptr;
    QComboBox* cboKind = nullptr; // barycentric, heliocentric
    QLineEdit* txtRa = nullptr;
    QLineEdit* txtDec = nullptr;
    QLineEdit* txtSite = nullptr; // LON,LAT,HEIGHT
    QLineEdit* txtDateObs = nullptr;
    QLineEdit* txtExptime = nullptr;

    void create(QWidget* parent, const HeaderCards& cards);
    std::string read(Observation& observation, VelocityFrame& frame) const;
};

// Masks as the box shows them, and back.
std::string masksText(const std::vector<WaveRange>& masks);
bool parseMasks(const std::string& text, std::vector<WaveRange>& masks);

} // namespace raylen
