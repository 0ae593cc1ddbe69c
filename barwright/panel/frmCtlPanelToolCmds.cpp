// The control panel's tool commands: new, edit and delete through the tool
// dialog with the tree and its pictures kept up to date node by node, the
// usage question, the tree's keys, clicks and pop-up menu, the deferred menu
// commands, the ToolClick skeleton, and dragging a tool's ID out as text.
#include "barwright/panel/frmCtlPanel.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/editors/frmTool.h"
#include "barwright/panel/CImagelist.h"
#include "barwright/panel/GenerateToolClickCode.h"
#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

#include <QCursor>
#include <QPixmap>

namespace {

constexpr int16_t kDelKey = 46;
const QString kCategoryPrefix = QStringLiteral("@CATEGORY@");
const QString kCategoryPicture = QStringLiteral("##RYX##Category");
const QString kGeneral = QStringLiteral("General");
const QString kNewTool = QStringLiteral("newtool");
const QString kEditTool = QStringLiteral("edittool");

com::Object workingCopyTools()
{
    return com::Object::fromVariant(frmCtlPanel::workingCopy().get(toolbar::dispid::Tools));
}

// A tool's category as the commands file it: blank counts as "General".
QString categoryOf(const com::Object& tool)
{
    const QString category = tool.get(QStringLiteral("Category")).toString().trimmed();
    return category.isEmpty() ? kGeneral : category;
}

forms::Node* nodeWithKey(forms::TreeView& tree, const QString& key)
{
    return tree.Nodes.exists(key) ? &tree.Nodes.Item(key) : nullptr;
}

// Adds a category's root node; false when that failed.
bool addCategoryNode(forms::TreeView& tree, const QString& category)
{
    return rt::tryStatement([&] {
               tree.Nodes.Add({}, forms::tvwLast, kCategoryPrefix + category.toUpper(), category,
                              rt::Variant(kCategoryPicture));
           }) == 0;
}

// A category other than "General" is forgotten once its node goes.
void forgetCategory(rt::Collection& categories, const QString& categoryText)
{
    const QString key = categoryText.toUpper();
    if (key != kGeneral.toUpper() && categories.contains(key))
        rt::tryStatement([&] { categories.Remove(key); });
}

// The cursor of a drag: the panel's picture for it, else a standard one.
QCursor dragCursor(forms::PictureBox& box, Qt::CursorShape fallback)
{
    forms::Picture picture;
    rt::tryStatement([&] { picture = box.picture(); });
    const QImage image = picture ? picture->toImage() : QImage();
    return image.isNull() ? QCursor(fallback) : QCursor(QPixmap::fromImage(image));
}

// Shows and selects a tool's node, and sorts it among its siblings.
void selectAndSort(forms::TreeView& tree, const QString& id, bool grouped)
{
    rt::ResumeNext rn;
    rn([&] {
        forms::Node& node = tree.Nodes.Item(id);
        node.EnsureVisible();
        tree.setSelectedItem(&node);
        if (!grouped)
            tree.setSorted(true);
        else if (forms::Node* parent = node.Parent())
            parent->setSorted(true);
    });
    rn.clear();
}

}  // namespace

bool frmCtlPanel::wireToolCommands()
{
    cmdNewTool.Click = [this] { cmdNewTool_Click(); };
    cmdEditTool.Click = [this] { cmdEditTool_Click(); };
    cmdDeleteTool.Click = [this] { cmdDeleteTool_Click(); };
    tvTools.DblClick = [this] { tvTools_DblClick(); };
    tvTools.KeyUp = [this](int16_t& key, int16_t shift) { tvTools_KeyUp(key, shift); };
    tvTools.MouseDown = [this](int16_t b, int16_t s, float x, float y) {
        tvTools_MouseDown(b, s, x, y);
    };
    tvTools.MouseUp = [this](int16_t b, int16_t s, float x, float y) {
        tvTools_MouseUp(b, s, x, y);
    };
    tvTools.OLEStartDrag = [this](forms::DataObject& data, int32_t& effects) {
        tvTools_OLEStartDrag(data, effects);
    };
    tvTools.OLEGiveFeedback = [this](int32_t& effect, bool& defaultCursors) {
        tvTools_OLEGiveFeedback(effect, defaultCursors);
    };
    tvTools.OLECompleteDrag = [this](int32_t effect) { tvTools_OLECompleteDrag(effect); };
    mnu_Tool.Click = [this] { mnu_Tool_Click(); };
    mnu_newTool.Click = [this] { startDeferredToolCommand(kNewTool); };
    mnu_editTool.Click = [this] { startDeferredToolCommand(kEditTool); };
    mnu_deleteTool.Click = [this] { cmdDeleteTool.setValue(true); };
    mnu_LoadTool.Click = [this] { cmdLoadTool.setValue(true); };
    mnu_CopyToolIDs.Click = [this] { mnu_CopyToolIDs_Click(); };
    Timer2.TimerEvent = [this] { Timer2_Timer(); };
    return true;
}

QString frmCtlPanel::GetNewToolName()
{
    const com::Object tools = workingCopyTools();
    for (int n = 1; n <= 500; ++n) {
        const QString name = QStringLiteral("Tool") + QString::number(n);
        const int32_t missing = rt::tryStatement([&] {
            tools.get(QStringLiteral("Item"), {rt::Variant(QStringLiteral("ID_") + name)});
        });
        if (missing != 0) {
            rt::Err().Clear();
            return name;
        }
    }
    return {};
}

void frmCtlPanel::cmdNewTool_Click()
{
    frmTool& dlg = frmTool::get();
    dlg.bEditMode = false;
    dlg.sTool = GetNewToolName();
    dlg.Show(forms::vbModal, this);
    if (dlg.bCanceled || dlg.oTool.isNothing()) {
        dlg.Unload();
        return;
    }
    const com::Object tool = dlg.oTool;
    const QString id = tool.get(QStringLiteral("ID")).toString();
    const bool grouped = chDisplayByCategory.Value() == forms::vbChecked;

    if (!m_toolPicturesLoaded || !m_toolTreeLoaded) {
        // The Tools tab was never built (or its grouping changed since):
        // building it now takes the new tool in.
        LoadToolsPage();
    } else {
        bool hasPicture = false;
        rt::tryStatement([&] { hasPicture = m_toolPictureList->AddToolPicture(tool); });
        const QString text =
            FormatToolDisplayString(id, tool.get(QStringLiteral("Name")).toString());
        const rt::Variant picture = hasPicture ? rt::Variant(id) : rt::Variant();
        int32_t failed = 0;
        if (grouped) {
            const QString category = categoryOf(tool);
            const QString parentKey = kCategoryPrefix + category.toUpper();
            auto addChild = [&] {
                return rt::tryStatement([&] {
                    tvTools.Nodes.Add(parentKey, forms::tvwChild, id, text, picture);
                });
            };
            failed = addChild();
            if (failed != 0) {
                addCategoryNode(tvTools, category);
                failed = addChild();
            }
        } else {
            failed = rt::tryStatement(
                [&] { tvTools.Nodes.Add({}, forms::tvwLast, id, text, picture); });
        }
        if (failed != 0)
            LoadToolsIntoTreeview(grouped, tvTools);
    }

    selectAndSort(tvTools, id, grouped);
    MakeDirty(true);
    dlg.Unload();
}

void frmCtlPanel::cmdEditTool_Click()
{
    forms::Node* selected = tvTools.SelectedItem();
    if (!IsToolNode(selected))
        return;
    const QString oldId = selected->Key();
    frmTool& dlg = frmTool::get();
    dlg.bEditMode = true;
    dlg.sTool = oldId;
    dlg.Show(forms::vbModal, this);
    if (dlg.bCanceled || dlg.oTool.isNothing()) {
        dlg.Unload();
        return;
    }
    const com::Object tool = dlg.oTool;
    const bool grouped = chDisplayByCategory.Value() == forms::vbChecked;
    rt::ResumeNext rn;
    QString id = oldId;
    rn([&] { id = tool.get(QStringLiteral("ID")).toString(); });

    if (!m_toolTreeLoaded) {
        // The tree waits for a refill (its grouping changed): refill it now.
        if (m_toolPictureList)
            rn([&] { m_toolPictureList->AddToolPicture(tool); });
        LoadToolsPage();
        selectAndSort(tvTools, id, grouped);
        MakeDirty(true);
        dlg.Unload();
        return;
    }

    // The node is found again by its key: the dialog ran in between.
    forms::Node* node = nodeWithKey(tvTools, oldId);
    if (!node) {
        LoadToolsIntoTreeview(grouped, tvTools);
        node = nodeWithKey(tvTools, id);
    }
    if (node) {
        rn([&] {
            node->setText(
                FormatToolDisplayString(id, tool.get(QStringLiteral("Name")).toString()));
        });
        rn([&] { node->setKey(id); });
        rn([&] { node->setImage({}); });
    }
    if (m_toolPictureList)
        rn([&] { m_toolPictureList->AddToolPicture(tool); });
    const bool hasPicture = imlstTools.exists(id);
    if (node && hasPicture)
        rn([&] { node->setImage(rt::Variant(id)); });

    if (grouped && node) {
        QString category = kGeneral;
        rn([&] { category = categoryOf(tool); });
        const QString parentKey = kCategoryPrefix + category.toUpper();
        forms::Node* parent = node->Parent();
        if (!parent || parent->Key() != parentKey) {
            const QString oldKey = parent ? parent->Key() : QString();
            auto moveUnder = [&] {
                return rt::tryStatement(
                           [&] { node->setParent(&tvTools.Nodes.Item(parentKey)); }) == 0;
            };
            if (!moveUnder()) {
                addCategoryNode(tvTools, category);
                if (!moveUnder()) {
                    LoadToolsIntoTreeview(grouped, tvTools);
                    node = nodeWithKey(tvTools, id);
                }
                if (node && node->Image().isEmpty() && hasPicture) {
                    forms::DoEvents();
                    rn([&] { node->setImage(rt::Variant(id)); });
                }
            }
            forms::Node* old = nodeWithKey(tvTools, oldKey);
            if (old && old->Children() == 0) {
                forgetCategory(cCategories, old->Text());
                rn([&] { tvTools.Nodes.Remove(oldKey); });
            }
        }
    }

    rn([&] {
        if (!grouped)
            tvTools.setSorted(true);
        else if (forms::Node* n = nodeWithKey(tvTools, id); n && n->Parent())
            n->Parent()->setSorted(true);
    });
    rn.clear();
    MakeDirty(true);
    dlg.Unload();
}

void frmCtlPanel::cmdDeleteTool_Click()
{
    forms::Node* node = tvTools.SelectedItem();
    if (!IsToolNode(node))
        return;
    const QString key = node->Key();
    const QString id = key.trimmed();
    const int16_t count = mGlobals::CountToolbarsWithTool(id, workingCopy());

    const QString crlf2 = mGlobals::gCRLF + mGlobals::gCRLF;
    QString text;
    if (count > 0)
        text = QStringLiteral("Tool '") + key + QStringLiteral("' is currently being used on ") +
               QString::number(count) + QStringLiteral(" toolbar(s).") + crlf2;
    text += QStringLiteral("Are you sure you want to delete '") + key + QStringLiteral("'?") +
            crlf2;
    if (forms::MsgBox(text, forms::vbYesNo | forms::vbQuestion,
                      QStringLiteral("Confirm Delete Tool")) == forms::vbNo)
        return;

    if (rt::tryStatement([&] {
            workingCopyTools().call(QStringLiteral("Remove"), {rt::Variant(id)});
        }) != 0) {
        const QString description = rt::Err().Description;
        rt::Err().Clear();
        forms::MsgBox(description, forms::vbOKOnly, QStringLiteral("Delete Tool"));
        return;
    }

    if (!m_toolTreeLoaded) {
        LoadToolsPage();   // the tree waits for a refill anyway
        MakeDirty(true);
        return;
    }
    // The node is looked up again: the removal's change event ran in between.
    rt::ResumeNext rn;
    node = nodeWithKey(tvTools, key);
    forms::Node* parent = node ? node->Parent() : nullptr;
    const bool grouped = chDisplayByCategory.Value() == forms::vbChecked;
    if (grouped && parent && parent->Children() < 2) {
        // The category's last tool: the category goes with it.
        forgetCategory(cCategories, parent->Text());
        const QString parentKey = parent->Key();
        rn([&] { tvTools.Nodes.Remove(parentKey); });
    } else if (node) {
        rn([&] { tvTools.Nodes.Remove(key); });
    }
    rn.clear();
    MakeDirty(true);
}

void frmCtlPanel::tvTools_DblClick()
{
    cmdEditTool.setValue(true);
}

void frmCtlPanel::tvTools_KeyUp(int16_t& KeyCode, int16_t Shift)
{
    (void)Shift;
    if (KeyCode == kDelKey)
        cmdDeleteTool.setValue(true);
}

void frmCtlPanel::tvTools_MouseDown(int16_t Button, int16_t Shift, float X, float Y)
{
    (void)Shift;
    if (m_treeClickGuard || Button != forms::vbLeftButton)
        return;
    forms::Node* node = nullptr;
    rt::tryStatement([&] { node = tvTools.HitTest(X, Y); });
    if (!node || node->Selected())
        return;
    // Selected now, so that a drag starting from this press carries it.
    m_treeClickGuard = true;
    rt::tryStatement([&] { sendLeftButtonUpDown(tvTools, X, Y); });
    m_treeClickGuard = false;
    rt::Err().Clear();
}

void frmCtlPanel::tvTools_MouseUp(int16_t Button, int16_t Shift, float X, float Y)
{
    (void)Shift;
    if (Button != forms::vbRightButton)
        return;
    forms::Node* node = tvTools.HitTest(X, Y);
    if (node && !node->Selected())
        sendLeftButtonUpDown(tvTools, X, Y);
    PopupMenu(mnu_Tool);   // its Click sets the item captions
}

void frmCtlPanel::mnu_Tool_Click()
{
    forms::Node* node = tvTools.SelectedItem();
    const QString key = node ? node->Key() : QString();
    mnu_editTool.setCaption(mnu_editTool.Enabled()
                                ? QStringLiteral("&Edit Tool '") + key + QStringLiteral("'...")
                                : QStringLiteral("&Edit Tool..."));
    mnu_deleteTool.setCaption(mnu_deleteTool.Enabled()
                                  ? QStringLiteral("&Delete Tool '") + key + QStringLiteral("'...")
                                  : QStringLiteral("&Delete Tool..."));
}

void frmCtlPanel::startDeferredToolCommand(const QString& tag)
{
    // The pop-up menu closes before the modal dialog opens.
    Timer2.setInterval(50);
    Timer2.setTag(tag);
    Timer2.setEnabled(true);
}

void frmCtlPanel::Timer2_Timer()
{
    Timer2.setEnabled(false);
    const QString tag = Timer2.Tag();
    if (tag == kNewTool)
        cmdNewTool.setValue(true);
    else if (tag == kEditTool)
        cmdEditTool.setValue(true);
}

void frmCtlPanel::mnu_CopyToolIDs_Click()
{
    mGlobals::GenerateToolClickCode(workingCopyTools());
}

void frmCtlPanel::tvTools_OLEStartDrag(forms::DataObject& Data, int32_t& AllowedEffects)
{
    forms::Node* node = tvTools.SelectedItem();
    if (!IsToolNode(node)) {
        AllowedEffects = forms::vbDropEffectNone;
        return;
    }
    AllowedEffects = forms::vbDropEffectCopy;
    Data.SetData(rt::Variant(node->Key()), forms::vbCFText);
}

void frmCtlPanel::tvTools_OLEGiveFeedback(int32_t& Effect, bool& DefaultCursors)
{
    DefaultCursors = false;
    QWidget* tree = tvTools.widget();
    if (!tree)
        return;
    tree->setCursor((Effect & forms::vbDropEffectCopy)
                        ? dragCursor(imgCursorCopy, Qt::DragCopyCursor)
                        : dragCursor(imgCursorNodrop, Qt::ForbiddenCursor));
}

void frmCtlPanel::tvTools_OLECompleteDrag(int32_t Effect)
{
    (void)Effect;
    if (QWidget* tree = tvTools.existingWidget())
        tree->unsetCursor();
    forms::Screen::setMousePointer(forms::vbDefault);
}
