#include "barwright/connection/RYXMain.h"

#include "barwright/connection/CReg.h"
#include "barwright/connection/mGlobals.h"
#include "barwright/panel/frmCtlPanel.h"
#include "barwright/panel/frmPreview.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/forms/Window.h"
#include "platform/runtime/Error.h"
#include "platform/system/Process.h"

namespace {

const QString kInvalidConnect = QStringLiteral("Invalid connect attempt.  Connect cancelled.");
const QString kConnectTitle = QStringLiteral("Halvorbar Configuration Utility");
constexpr int32_t kArgumentNotOptional = 449;

void needArgs(const com::Args& args, size_t n)
{
    if (args.size() < n)
        rt::raise(kArgumentNotOptional);
}

}  // namespace

std::shared_ptr<RYXMain> RYXMain::create()
{
    return std::shared_ptr<RYXMain>(new RYXMain());
}

RYXMain::RYXMain()
{
    using namespace mGlobals;
    gRYXMain = nullptr;
    gControl = {};
    gShortcuts = nullptr;
    gConfigFile.clear();
    gCRLF = QStringLiteral("\r\n");
    gShowNonStdColorMsg = true;
    mDrawParams::gMaskColor = -1;
    mDrawParams::gForeColor = -1;
    mDrawParams::gBackColor = -1;
    mDrawParams::gCurrentToolID.clear();
    mDrawParams::gPreviousToolID.clear();
    mDrawParams::gPicWidth = 16;
    mDrawParams::gPicHeight = 16;

    defineMethod(QStringLiteral("CheckStatus"), DispidCheckStatus,
                 [this](com::Args&) { return rt::Variant(CheckStatus()); });
    defineMethod(QStringLiteral("Connect"), DispidConnect, [this](com::Args& a) {
        needArgs(a, 2);
        QString name = a[1].isEmpty() ? QString() : a[1].toString();
        Connect(a[0], name);
        a[1] = name;
        return rt::Variant();
    });
    defineMethod(QStringLiteral("LoadFromFile"), DispidLoadFromFile, [this](com::Args& a) {
        needArgs(a, 1);
        LoadFromFile(a[0].toString());
        return rt::Variant();
    });
}

RYXMain::~RYXMain()
{
    // An object dropped without the exit notification still gives its handle back.
    if (m_hCloseEvent != 0)
        sys::CloseHandle(m_hCloseEvent);
}

QString RYXMain::closeEventName()
{
    return QStringLiteral("RYX Close") + QString::number(sys::CoGetCurrentProcess());
}

void RYXMain::Connect(rt::Variant& pCaller, QString& sEventName)
{
    using namespace mGlobals;
    // A value that is not a late-bound object cannot be a caller either.
    com::Object caller;
    const bool isObject =
        rt::tryStatement([&] { caller = com::Object::fromVariant(pCaller); }) == 0;
    rt::Err().Clear();
    if (IsNothing(pCaller) || !isObject || caller.isNothing()) {
        forms::MsgBox(kInvalidConnect, forms::vbCritical | forms::vbOKOnly, kConnectTitle);
        return;
    }
    if (gRYXMain) {
        forms::MsgBox(kInvalidConnect, forms::vbCritical | forms::vbOKOnly, kConnectTitle);
        return;
    }

    rt::ResumeNext rn;
    m_callerIsTestProgram = false;
    rn([&] {
        m_callerIsTestProgram = caller.get(QStringLiteral("CallerIsVBTestPgm")).toBool();
    });
    gControl = caller;
    gRYXMain = std::static_pointer_cast<RYXMain>(shared_from_this());

    // Reconnecting after a newer object reset the state: the event this
    // object still holds would otherwise stay open for good.
    if (m_hCloseEvent != 0) {
        sys::CloseHandle(m_hCloseEvent);
        m_hCloseEvent = 0;
    }
    if (!m_callerIsTestProgram) {
        const QString name = closeEventName();
        m_hCloseEvent = sys::CreateEventA(nullptr, true, false, name);
        sEventName = name;
    }

    QString helpDir;
    rn([&] {
        CReg root;   // HKEY_CLASSES_ROOT
        auto product = root.OpenKey(QStringLiteral("Quenbrix.Halvorbar.ActiveX"));
        auto version = product ? product->OpenKey(QStringLiteral("Version5")) : nullptr;
        auto dir = version ? version->OpenKey(QStringLiteral("HelpFileDir")) : nullptr;
        if (dir)
            helpDir = dir->GetValue().toString();
    });
    forms::App::setHelpFile(helpDir + QStringLiteral("/MQRYX.HLP"));
    rn.clear();
}

void RYXMain::LoadFromFile(const QString& sInputConfigFile)
{
    mGlobals::gConfigFile = sInputConfigFile;
    showConfigurationWindows();
}

void RYXMain::showConfigurationWindows()
{
    forms::Screen::setMousePointer(forms::vbHourglass);   // the panel's load resets it
    frmPreview& preview = frmPreview::get();
    preview.setCaption(QStringLiteral("Halvorbar Configuration Preview"));
    preview.Show(forms::vbModeless);
    frmCtlPanel& panel = frmCtlPanel::get();
    panel.Show(forms::vbModeless, &preview);
    forms::SetPropA(panel.hWnd(), QStringLiteral("RYXMAINPROCESSID"),
                    sys::CoGetCurrentProcess());
}

void RYXMain::NotifyExiting()
{
    using namespace mGlobals;
    if (!m_callerIsTestProgram) {
        sys::SetEvent(m_hCloseEvent);
        sys::CloseHandle(m_hCloseEvent);
        m_hCloseEvent = 0;
    } else {
        gControl.call(QStringLiteral("ConfigUtilityExiting"));
    }
    gControl = {};
    gShortcuts = nullptr;
    mDrawParams::FreeDrawResources();
}
