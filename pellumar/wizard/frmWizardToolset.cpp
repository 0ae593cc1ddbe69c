// Reading a toolset (its profile file and bitmap strip), choosing the output
// name, and the conversion into the hidden toolbar control.
#include "pellumar/wizard/frmWizard.h"

#include "barwright/common/DrawingParameters.h"
#include "barwright/common/NothingAndCollections.h"
#include "pellumar/wizard/modWizard.h"
#include "platform/forms/App.h"
#include "platform/forms/LoadPicture.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"
#include "platform/system/Profile.h"
#include "platform/toolbar/Tool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

using namespace mDrawParams;

namespace {

const QString kTitle = QStringLiteral("Quenbrix Toolset Conversion Wizard");
const QString kCRLF = QStringLiteral("\r\n");
const QString kGeneral = QStringLiteral("General");
const QString kNoImages =
    QStringLiteral("As a result, there will be no tool images included in the converted "
                   "toolset file.")
    + kCRLF
    + QStringLiteral("All other tool properties contained in the toolset will be converted.");

bool fileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// Toolsets come from a platform whose file names ignore case: "TOOLS.BM$"
// names its strip "TOOLS.BMp", which is "TOOLS.BMP" on disk. The exact name
// wins; otherwise the first file of the folder equal to it ignoring case.
QString existingIgnoringCase(const QString& path)
{
    if (path.isEmpty() || fileExists(path))
        return path;
    const QFileInfo info(path);
    const QStringList names =
        QDir(info.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names)
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return info.dir().filePath(name);
    return path;
}

void invalidData(const QString& key)
{
    forms::MsgBox(QStringLiteral("Can't convert the selected toolset - the toolset contains "
                                 "invalid data! [")
                      + key + QLatin1Char(']'),
                  forms::vbInformation, QStringLiteral("Load Toolset Data"));
}

// Lets pending window messages run for about ms milliseconds.
void pause(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        forms::DoEvents();
        QThread::msleep(5);
    }
}

const char* const kPictureNames[4] = {"PictureNormal", "PicturePressed", "PictureDisabled",
                                      "PictureDisabledPressed"};

}  // namespace

// ---- Reading ---------------------------------------------------------------

void frmWizard::reportReadError(const rt::Error& e)
{
    forms::MsgBox(QStringLiteral("The following error has occurred while reading the toolset:")
                      + kCRLF + kCRLF + QStringLiteral("Error #") + QString::number(e.number())
                      + QStringLiteral(" - '") + e.description() + QLatin1Char('\'') + kCRLF
                      + kCRLF + QStringLiteral("Click OK to continue."),
                  forms::vbCritical, QStringLiteral("Error While Reading Toolset"));
}

QString frmWizard::readValue(const QString& section, const QString& key, bool& present,
                             const QString& path)
{
    QString buffer;
    const uint32_t n = sys::GetPrivateProfileStringA(section, key, QString(), buffer, 256, path);
    present = n > 0;
    return present ? buffer.left(n) : QString();
}

// A required number of the General section. False (after the message) when
// it is absent; a value that is no number is reported and leaves the target.
bool frmWizard::readGeneral(const QString& key, int16_t& target, const QString& path)
{
    bool present = false;
    const QString value = readValue(kGeneral, key, present, path);
    if (!present) {
        invalidData(key);
        return false;
    }
    try {
        target = rt::CInt(rt::Variant(value));
    } catch (const rt::Error& e) {
        reportReadError(e);
    }
    return true;
}

bool frmWizard::LoadToolset(const QString& path)
{
    m_toolsetPath = path;
    // A file far larger than any toolset is refused before any of it is read.
    if (const QString problem = sys::ProfileSizeProblem(path); !problem.isEmpty()) {
        forms::MsgBox(problem, forms::vbInformation, QStringLiteral("Load Toolset Data"));
        return false;
    }
    if (!readGeneral(QStringLiteral("ButtonWidth"), ButtonWidth, path))
        return false;
    gPicWidth = ButtonWidth;
    if (!readGeneral(QStringLiteral("ButtonHeight"), ButtonHeight, path))
        return false;
    gPicHeight = ButtonHeight;
    lblToolSize.setCaption(QString::number(ButtonWidth) + QLatin1Char('x')
                           + QString::number(ButtonHeight));
    if (!readGeneral(QStringLiteral("NumBtnStates"), NumBtnStates, path))
        return false;
    chDown.setValue(forms::vbUnchecked);
    chUpDisabled.setValue(forms::vbUnchecked);
    chDownDisabled.setValue(forms::vbUnchecked);
    chUpDisabled.setVisible(NumBtnStates >= 3);
    chDownDisabled.setVisible(NumBtnStates >= 4);
    int16_t numTools = 0;
    if (!readGeneral(QStringLiteral("NumTools"), numTools, path))
        return false;

    const QString trimmed = rt::Trim(path);
    const QString stripPath =
        existingIgnoringCase(trimmed.left(trimmed.size() - 1) + QLatin1Char('p'));
    bImagesAvailable = false;
    picSegmented.setPicture(nullptr);
    if (!fileExists(stripPath)) {
        forms::MsgBox(QStringLiteral("Note: No associated '.bmp' file was found for the "
                                     "selected toolset file.")
                          + kCRLF + kCRLF + kNoImages,
                      forms::vbInformation, QStringLiteral("Toolset Image File Missing"));
    } else {
        try {
            picSegmented.setPicture(forms::LoadPicture(stripPath));
            const forms::Picture strip = picSegmented.picture();
            const int32_t width = strip ? strip->widthPixels() : 0;
            const int32_t height = strip ? strip->heightPixels() : 0;
            // A cell of no pixels cannot be cut, whatever the products say.
            const bool matches = ButtonWidth > 0 && ButtonHeight > 0 && width > 0
                                 && height == int32_t(NumBtnStates) * ButtonHeight
                                 && width == int32_t(numTools) * ButtonWidth;
            if (matches) {
                bImagesAvailable = true;
            } else {
                forms::MsgBox(
                    QStringLiteral("The image information contained in the toolset file") + kCRLF
                        + QStringLiteral("(i.e., ButtonHeight, ButtonWidth, NumTools & "
                                         "NumBtnStates)")
                        + kCRLF
                        + QStringLiteral("is inconsistent with the size of the image in the "
                                         "asssociated bitmap file.")
                        + kCRLF + kCRLF + kNoImages,
                    forms::vbInformation, QStringLiteral("Toolset Image Data Inconsistent"));
                picSegmented.setPicture(nullptr);
            }
        } catch (const rt::Error& e) {
            // A damaged strip: reported, and the toolset goes on without images.
            picSegmented.setPicture(nullptr);
            reportReadError(e);
        }
    }

    bool present = false;
    const QString name = readValue(kGeneral, QStringLiteral("ToolsetName"), present, path);
    lblToolsetName.setCaption(present ? name : QString());
    const QString toolsetName = lblToolsetName.Caption();

    lvTools.ListItems.Clear();
    for (int32_t i = 0; i < numTools; ++i) {
        readTool(path, QStringLiteral("TOOL") + QString::number(i).rightJustified(4, u'0'),
                 toolsetName);
    }
    if (colTools.Count() > 0)
        return true;
    forms::MsgBox(QStringLiteral("Can't convert the selected toolset - the toolset has no valid "
                                 "tools defined!"),
                  forms::vbInformation, QStringLiteral("Load Toolset Data"));
    return false;
}

void frmWizard::readTool(const QString& path, const QString& section, const QString& toolsetName)
{
    bool present = false;
    const QString id = readValue(section, QStringLiteral("ID"), present, path);
    if (!present)
        return;
    if (mGlobals::ExistsInCollection(colTools, id)) {
        forms::MsgBox(QStringLiteral("Duplicate tool '") + id
                          + QStringLiteral("' encountered while reading toolset '") + toolsetName
                          + QStringLiteral("'.") + kCRLF + kCRLF
                          + QStringLiteral("Tool will be skipped.") + kCRLF + kCRLF
                          + QStringLiteral("Click OK to process the remaining tools in the "
                                           "toolset."),
                      forms::vbInformation, QStringLiteral("Duplicate Tool ID"));
        return;
    }
    auto info = std::make_shared<CToolInfo>();
    forms::ListItem* row = nullptr;
    // A key the list already holds is no reason to lose the tool.
    rt::tryStatement([&] { row = &lvTools.ListItems.Add(0, id, id); });
    info->ID = id;
    // Each value on its own: one that fails is reported and leaves its field.
    const auto read = [&](const char* key, const auto& apply) {
        const QString value = readValue(section, QLatin1String(key), present, path);
        if (!present)
            return;
        try {
            apply(value);
        } catch (const rt::Error& e) {
            reportReadError(e);
        }
    };
    read("Description", [&](const QString& v) {
        if (row)
            row->setSubItems(1, v);
        info->Description = v;
    });
    read("HelpText", [&](const QString& v) { info->HelpText = v; });
    read("Type", [&](const QString& v) { info->ToolType = rt::CInt(rt::Variant(v)); });
    read("AllowAllUp", [&](const QString& v) { info->AllowAllUp = rt::CBool(rt::Variant(v)); });
    read("Group", [&](const QString& v) { info->Group = rt::CInt(rt::Variant(v)); });
    read("Mnemonic", [&](const QString& v) { info->Mnemonic = v; });
    read("Exclusive", [&](const QString& v) { info->Exclusive = rt::CBool(rt::Variant(v)); });
    rt::tryStatement([&] { colTools.Add(rt::Variant(info), id); });
}

std::shared_ptr<CToolInfo> frmWizard::toolInfo(int32_t index)
{
    return colTools.Item(index).as<CToolInfo>();
}

// ---- Output name -----------------------------------------------------------

void frmWizard::GenerateOutputFileName()
{
    QString name = txtSelectedToolsetFileName.Text();
    const qsizetype at = name.indexOf(QStringLiteral(".bm$"), 0, Qt::CaseInsensitive);
    if (at >= 0)
        name.replace(at, 4, QStringLiteral(".qrv"));
    const int32_t dot = modWizard::InStrLast(name, QStringLiteral("."));
    const QString base = dot > 0 ? name.left(dot - 1) : name;
    int32_t n = 0;
    while (fileExists(name)) {
        ++n;
        if (n > 1000)
            break;
        name = base + QString::number(n) + QStringLiteral(".qrv");
    }
    sOutputPath = name;
    const int32_t slash = modWizard::InStrLast(name, QStringLiteral("/"));
    sOutputFileName = slash > 0 ? name.mid(slash) : name;
    lbNewFilename.setCaption(sOutputFileName);
}

// ---- Conversion ------------------------------------------------------------

void frmWizard::reportConvertError(const rt::Error& e)
{
    forms::MsgBox(QStringLiteral("The following error has occurred while converting the "
                                 "toolset:")
                      + kCRLF + kCRLF + QStringLiteral("Error #") + QString::number(e.number())
                      + QStringLiteral(" - '") + e.description() + QLatin1Char('\'') + kCRLF
                      + kCRLF + QStringLiteral("Click OK to continue."),
                  forms::vbCritical, QStringLiteral("Error While Converting Toolset"));
}

void frmWizard::ClearToolbarControl()
{
    tbarMain->toolbars()->Clear();
    tbarMain->tools()->Clear();
}

void frmWizard::MarkMaskPixel(gdi::HDC dc, int32_t row)
{
    gdi::SetPixelV(dc, 0, row, PaletteColor(gMaskColor));
}

bool frmWizard::ConvertToolset()
{
    bool ok = true;
    // Each step on its own: a failure is reported, marks the run failed, and
    // the next step goes on.
    const auto step = [&](const auto& statement) {
        try {
            statement();
            return true;
        } catch (const rt::Error& e) {
            ok = false;
            reportConvertError(e);
            return false;
        }
    };
    step([&] {
        ProgressBar1.setMin(0);
        ProgressBar1.setMax(float(std::max<int32_t>(colTools.Count(), 1)));
        ProgressBar1.setValue(0);
        ProgressBar1.setVisible(true);
        lbProgress.setCaption(QStringLiteral("Processing Tool: "));
        lbProgress.setVisible(true);
    });
    const int16_t pointer = forms::Screen::MousePointer();
    forms::Screen::setMousePointer(forms::vbHourglass);
    step([&] { ClearToolbarControl(); });

    const QString toolsetName = lblToolsetName.Caption();
    int16_t k = 0;
    for (int32_t i = 1; i <= colTools.Count(); ++i) {
        const std::shared_ptr<CToolInfo> info = toolInfo(i);
        lbProgress.setCaption(QStringLiteral("Processing Tool: ") + info->ID);
        forms::DoEvents();
        std::shared_ptr<toolbar::Tool> tool;
        // Without its tool there is nothing to set for this record.
        const int16_t type = info->ToolType == 0 ? 0 : 1;
        if (step([&] { tool = tbarMain->tools()->Add(info->ID, type); })) {
            step([&] {
                tool->setDescription(info->Description);
                tool->setTooltipText(info->HelpText);
                tool->setStateAllowAllUp(info->AllowAllUp);
                tool->setCategory(toolsetName.isEmpty() ? QStringLiteral("General")
                                                        : toolsetName);
                tool->setStateGroupName(info->ToolType == 1 && info->Exclusive
                                            ? QStringLiteral("Group<%1>").arg(info->Group)
                                            : QString());
            });
            step([&] { ConvertToolImages(k, tool); });
        }
        step([&] {
            ProgressBar1.setValue(std::min(ProgressBar1.Max(), ProgressBar1.Value() + 1));
        });
        ++k;
        pause(75);
    }

    std::shared_ptr<toolbar::Toolbar> bar;
    step([&] {
        bar = tbarMain->toolbars()->Add(QStringLiteral("Toolbar1"), int16_t(0));
        for (const std::shared_ptr<toolbar::Tool> tool : *tbarMain->tools())
            bar->tools()->Add(tool->ID());
    });
    if (bar) {
        step([&] {
            // The walk visits the tools as they were before any separator went in.
            for (const std::shared_ptr<toolbar::Tool> tool : *bar->tools()) {
                const int32_t p = tool->Index();
                if (p > 1 && tool->StateGroupName()
                                 != bar->tools()->Item(p - 1)->StateGroupName())
                    bar->tools()->Add(QStringLiteral("Separator"), int16_t(8), p);
            }
        });
    }

    const QString noName = QStringLiteral("Cannot continue without an output filename.") + kCRLF
                           + kCRLF + QStringLiteral("The conversion will now terminate.") + kCRLF
                           + kCRLF;
    step([&] {
        if (!fileExists(sOutputPath))
            return;
        lbProgress.setCaption(QStringLiteral("Generating new configuration filename..."));
        GenerateOutputFileName();
        if (!fileExists(sOutputPath))
            return;
        const int16_t answer = forms::MsgBox(
            QStringLiteral("Could not find a unique unused filename for the generated Zentribar "
                           "Configuration file.")
                + kCRLF + kCRLF + QStringLiteral("Do you want to specify the name yourself?"),
            forms::vbYesNo | forms::vbInformation, kTitle);
        QString chosen;
        if (answer == forms::vbYes) {
            CommonDialog1.CancelError = true;
            CommonDialog1.DialogTitle = QStringLiteral("Select Zentribar Configuration Filename");
            CommonDialog1.Filter =
                QStringLiteral("Zentribar Configuration Files (*.qrv)|*.qrv|All Files (*.*)|*.*");
            CommonDialog1.DefaultExt = QStringLiteral("qrv");
            CommonDialog1.Flags = 0x80002;
            CommonDialog1.FileName.clear();
            try {
                CommonDialog1.ShowSave();
                chosen = rt::Trim(CommonDialog1.FileName);
            } catch (const rt::Error&) {
                chosen.clear();   // cancelled: no error, just no name
            }
        }
        if (chosen.isEmpty()) {
            forms::MsgBox(noName, forms::vbCritical,
                          QStringLiteral("Error While Converting Toolset"));
            ok = false;
        } else {
            sOutputPath = chosen;
        }
    });

    if (ok) {
        step([&] {
            lbProgress.setCaption(QStringLiteral("Writing QRV Configuration file..."));
            forms::DoEvents();
            tbarMain->SaveConfiguration(sOutputPath);
        });
    }
    ProgressBar1.setVisible(false);
    lbProgress.setVisible(false);
    forms::Screen::setMousePointer(pointer);

    const QString text =
        ok ? QStringLiteral("The toolset has been successfully converted!") + kCRLF + kCRLF
                 + QStringLiteral("Do you want to convert another toolset?")
           : QStringLiteral("An error was encountered while converting the toolset.") + kCRLF
                 + kCRLF + QStringLiteral("Do you want to try again?");
    return forms::MsgBox(text, forms::vbYesNo | forms::vbInformation, kTitle) == forms::vbYes;
}

void frmWizard::ConvertToolImages(int16_t k, const std::shared_ptr<toolbar::Tool>& tool)
{
    if (!bImagesAvailable)
        return;
    ConvertStateImage(0, k, tool);
    if (chDown.Value() == forms::vbChecked)
        ConvertStateImage(1, k, tool);
    if (chUpDisabled.Value() == forms::vbChecked)
        ConvertStateImage(2, k, tool);
    if (chDownDisabled.Value() == forms::vbChecked)
        ConvertStateImage(3, k, tool);
}

void frmWizard::ConvertStateImage(int16_t state, int16_t k,
                                  const std::shared_ptr<toolbar::Tool>& tool)
{
    const int32_t S = 16 + std::max<int32_t>(coSize.ListIndex(), 0);
    picWork.setPicture(nullptr);
    picWork.Move(0, 0, float(S) * 15.f, float(S + 1) * 15.f);
    picWork.setBackColor(gMaskColor);
    const gdi::HDC work = picWork.hDC();
    {
        const gdi::HBRUSH fill = gdi::CreateSolidBrush(PaletteColor(gMaskColor));
        const gdi::RECT all{0, 0, S, S + 1};
        gdi::FillRect(work, &all, fill);
        gdi::DeleteObject(fill);
    }

    pellumar::CDraw* engine = Engines[(state == 0 || state == 2) ? 0 : 1].get();
    if (!engine)
        rt::raise(rt::errc::ObjectNotSet);
    int32_t l = 0, t = 0, r = 0, b = 0;
    engine->GetSelection(l, t, r, b);
    gdi::RECT sel{l, t, r, b};
    if (gdi::IsRectEmpty(&sel)) {
        engine->SelectAll();
        engine->GetSelection(l, t, r, b);
    }
    l += ButtonWidth * k;
    r += ButtonWidth * k;
    t += ButtonHeight * state;
    b += ButtonHeight * state;
    const int32_t w = r - l + 1;
    const int32_t h = b - t + 1;
    const int32_t dx = rt::CInt((S - w) / 2.0);
    const int32_t dy = rt::CInt((S - h) / 2.0);
    // Only the image rows: the area never reaches into the mask row.
    const gdi::RECT imageRows{0, 0, S, S};
    gdi::RECT target{dx, dy, dx + w, dy + h};
    gdi::RECT clipped{};
    if (gdi::IntersectRect(&clipped, &target, &imageRows)) {
        gdi::BitBlt(work, clipped.left, clipped.top, clipped.right - clipped.left,
                    clipped.bottom - clipped.top, picSegmented.hDC(), l + (clipped.left - dx),
                    t + (clipped.top - dy), gdi::SRCCOPY);
        // Transparent pixels of the strip take the mask colour.
        const forms::Picture strip = picSegmented.picture();
        for (int32_t y = clipped.top; strip && y < clipped.bottom; ++y)
            for (int32_t x = clipped.left; x < clipped.right; ++x)
                if (strip->isTransparent(l + (x - dx), t + (y - dy)))
                    gdi::SetPixelV(work, x, y, PaletteColor(gMaskColor));
    }
    MarkMaskPixel(work, S);

    tool->setUseMaskColor(true);
    tool->setImageSize(int16_t(S));
    const com::Object lateTool(tool);
    const QString name = QLatin1String(kPictureNames[state]);
    const forms::Picture picture = picWork.Image();
    if (S >= 24) {
        lateTool.let(name + QStringLiteral("Handle"), rt::Variant(int32_t(picture->Handle())));
    } else {
        lateTool.let(name, rt::Variant(picture));
        picWork.setPicture(nullptr);
    }
}
