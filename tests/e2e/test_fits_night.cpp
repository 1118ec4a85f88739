// A star frame with a telescope's cards reduced to FITS spectra through the
// windows (optimal extraction with the frame's noise cards, dispersion, flux
// and continuum), then by raylen-cli with the same marks: every FITS file
// must be the batch chain's, cards, HISTORY and uncertainty included.
#include "NightDriver.h"

#include <QLabel>

using namespace e2e;
using raylen::appState;

namespace {

constexpr int fitsFilter = 2; // the save dialog's FITS spectrum filter

std::string cliRun(const std::string& arguments)
{
    std::string output;
    const std::string command = std::string(RAYLEN_BIN_DIR) + "/raylen-cli " + arguments + " 2>&1";
    EXPECT_EQ(testsupport::run(command, &output), 0) << command << "\n" << output;
    return output;
}

// The sample night with the object frame given the cards a telescope
// writes, and a sensitivity table that names its unit.
void prepare(const TempDir& dir)
{
    const std::string d = testsupport::shellQuote(dir.path()) + "/";
    cliRun("sample " + testsupport::shellQuote(dir.path()));
    testsupport::python("from astropy.io import fits\n"
                        "f = fits.open('" + dir.file("object.fit") + "', do_not_scale_image_data=True)\n"
                        "h = f[0].header\n"
                        "h['AIRMASS'] = 1.23; h['RA'] = '05:35:17.3'; h['DEC'] = '-05:23:28'\n"
                        "h['GAIN'] = 1.5; h['RDNOISE'] = 6.0\n"
                        "f.writeto('" + dir.file("star.fit") + "')\n",
                        dir);
    testsupport::writeAll(dir.file("units.sns"), "# unit erg/(s cm2 Angstrom)\r\n" +
                                                     testsupport::readAll(dir.file("sensitivity.sns")));
    cliRun("extract " + d + "comp.fit --x 0:1023 --y 100:156 --no-sky -o " + d + "comp.txt");
    cliRun("identify " + d + "comp.txt --table " + d + "lamp.dat --line 2:102 --line 7:643 --line 13:949 -o " + d +
           "comp.dip");
}

void saveFits(NightDriver& night, const std::string& path)
{
    night.ui.answerDialog(path, fitsFilter);
    night.plot()->mnuSaveAs->trigger();
    QApplication::processEvents();
}

} // namespace

TEST(FitsNight, ThroughTheWindowsTheFilesAreTheBatchChains)
{
    if (!testsupport::requirePython("numpy, astropy, specutils"))
        return;
    TempDir gui, batch;
    prepare(gui);
    prepare(batch);
    auto g = [&](const std::string& name) { return gui.file(name); };
    auto b = [&](const std::string& name) { return testsupport::shellQuote(batch.file(name)); };

    NightDriver night;
    night.openFile(g("star.fit"));
    ASSERT_NE(raylen::frmImage(), nullptr) << night.messages();
    night.dragBox(QPoint(0, 100), QPoint(1024, 157));
    raylen::FrmApall* wizard = night.openWizard();
    ASSERT_NE(wizard, nullptr) << night.messages();
    wizard->cmdNext->click();
    wizard->cmdNext->click();
    ASSERT_EQ(wizard->intPage, 3) << night.messages();
    // The frame's noise cards, no note.
    EXPECT_EQ(text(wizard->txtGain->text()), "1.5");
    EXPECT_EQ(text(wizard->txtRdNoise->text()), "6");
    EXPECT_FALSE(wizard->lblNoiseNote->isVisible());
    const QPoint middle = wizard->chkOptimal->rect().center();
    mouse(wizard->chkOptimal, QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
    mouse(wizard->chkOptimal, QEvent::MouseButtonRelease, middle, Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(wizard->chkOptimal->isChecked());
    wizard->cmdNext->click();
    ASSERT_EQ(wizard->intPage, 4) << night.messages();
    wizard->cmdFit->click();
    wizard->cmdNext->click();
    ASSERT_EQ(wizard->intPage, 5) << night.messages();
    night.ui.answerDialog(g("a.fits"), fitsFilter);
    wizard->cmdNext->click();
    QApplication::processEvents();
    ASSERT_EQ(raylen::frmApall(), nullptr) << night.messages();

    night.openFile(g("a.fits"));
    ASSERT_NE(night.plot(), nullptr) << night.messages();
    night.calibrate(night.plot()->mnuDispCor, g("comp.dip"));
    saveFits(night, g("b.fits"));
    night.calibrate(night.plot()->mnuFluxCalib, g("units.sns"));
    saveFits(night, g("c.fits"));
    night.plot()->mnuNormalize->trigger();
    QApplication::processEvents();
    raylen::FrmCalib* normalise = raylen::frmCalib();
    ASSERT_NE(normalise, nullptr);
    const raylen::PlotFrame frame = night.plot()->chart.frame();
    const double midY = (frame.yMin + frame.yMax) / 2;
    std::string regions;
    for (const auto& [from, to] : {std::pair{4500.0, 4800.0}, {5500.0, 6000.0}, {6800.0, 7400.0}}) {
        const float a = night.keyAt('s', from, midY).first;
        const float z = night.keyAt('s', to, midY).first;
        regions += " --region " + exact(a) + ":" + exact(z);
    }
    normalise->txtOrder->setText("3");
    normalise->cmdFit->click();
    normalise->cmdNext->click();
    ASSERT_EQ(normalise->intPage(), 2) << night.messages();
    normalise->cmdNext->click();
    QApplication::processEvents();
    saveFits(night, g("n.fits"));
    night.plot()->dsChangeData(false);

    cliRun("extract " + b("star.fit") + " --x 0:1023 --y 100:156 --optimal -o " + b("a.fits"));
    cliRun("dispcor " + b("a.fits") + " --dip " + b("comp.dip") + " -o " + b("b.fits"));
    cliRun("fluxcal " + b("b.fits") + " --sns " + b("units.sns") + " -o " + b("c.fits"));
    cliRun("normalize " + b("c.fits") + regions + " --order 3 -o " + b("n.fits"));
    for (const char* name : {"a.fits", "b.fits", "c.fits", "n.fits"}) {
        const std::string ours = readAll(g(name));
        EXPECT_FALSE(ours.empty()) << name << "\n" << night.messages();
        EXPECT_TRUE(ours == readAll(batch.file(name))) << name << " differs from the batch chain's";
    }
    // What the files hold: the observation, one HISTORY card a step, an
    // uncertainty, and specutils reads them without a hint.
    const std::string result = testsupport::python(
        "import warnings\nwarnings.simplefilter('ignore')\n"
        "from astropy.io import fits\nfrom specutils import Spectrum1D\n"
        "d = '" + gui.path() + "/'\n"
        "for n, steps in [('a', 1), ('b', 2), ('c', 3), ('n', 4)]:\n"
        "    f = fits.open(d + n + '.fits')\n"
        "    h = f[0].header\n"
        "    keys = all(k in h for k in ['OBJECT', 'DATE-OBS', 'EXPTIME', 'AIRMASS', 'RA', 'DEC'])\n"
        "    err = 'ERR' in f or 'ERR' in f[-1].columns.names\n"
        "    print(n, keys, len(h['HISTORY']) == steps, h['HISTORY'][-1].split()[0], err)\n"
        "print(fits.getheader(d + 'a.fits')['HISTORY'][0])\n"
        "print(Spectrum1D.read(d + 'c.fits').flux.unit)\n",
        gui);
    EXPECT_EQ(result, "a True True extract True\nb True True dispcor True\nc True True fluxcal True\n"
                      "n True True normalize True\n"
                      "extract w=6 sky=-20:-10,10:20/1 optimal cr=5 gain=1.5 rdn=6 star.fit\n"
                      "erg / (Angstrom cm2 s)\n");
}
