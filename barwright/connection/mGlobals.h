#pragma once
// The process-wide connection state of Barwright and the small helpers that
// every window shares: colour text, type names, collection, nothing and
// picture tests, key filtering and path parts. (The helpers that work on
// windows and controls live beside them in their own file; the nothing tests
// and collection helpers, shared with the toolset wizard, in barwright/common.)

#include "barwright/common/NothingAndCollections.h"
#include "platform/automation/Dispatch.h"
#include "platform/forms/StdPicture.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Variant.h"

#include <QString>

#include <cstdint>
#include <memory>

class RYXMain;
class CShortcuts;
class CReg;

namespace mGlobals {

// Connection state; RYXMain's creation resets the first group.
inline std::shared_ptr<RYXMain> gRYXMain;
inline com::Object gControl;                  // the client control
inline std::shared_ptr<CShortcuts> gShortcuts;
inline bool gShowNonStdColorMsg = true;
inline QString gConfigFile;
inline QString gCRLF = QStringLiteral("\r\n");
// Kept for the whole run.
inline bool gConvertNonStd = false;
inline std::shared_ptr<CReg> gRegBaseKey;
inline int16_t gAnswer = 0;
inline QString gMsg;

// Colour text "&H" + 8 hex digits + "&": an explicit colour "&H00BBGGRR&" or a
// system colour "&H800000nn&" (nn <= 0x18). On success the text is trimmed and
// upper-cased; on failure neither argument changes.
bool ParseColorText(QString& text, int32_t& colour);
QString FormatColorHex(int32_t colour);

QString ToolTypeName(int16_t toolType, bool shortForm = false);
QString ToolbarTypeName(int16_t style);
// Number of the control's toolbars whose own Tools hold the ID; errors skipped.
int16_t CountToolbarsWithTool(const QString& id, const com::Object& control);

// By the picture's Handle; a Nothing picture raises error 91.
bool IsEmptyPicture(const forms::Picture& picture);
bool IsEmptyPicture(const com::Object& picture);
bool HasPicture(const forms::Picture& picture);
bool HasPicture(const com::Object& picture);

// Writes Enabled only on a change.
void SetToolEnabled(const com::Object& tool, bool value);

// Keeps Backspace, "." and digits; any other key code becomes 0.
void FilterNumericKey(int16_t& keyAscii);
// The folder part: "/data/file.qrv" gives "/data"; no "/" past the first
// character gives "".
QString GetPathPart(const QString& path);
// The text without every occurrence of `ch` (a text of one character).
QString StripChar(const QString& text, const QString& ch);

}  // namespace mGlobals
