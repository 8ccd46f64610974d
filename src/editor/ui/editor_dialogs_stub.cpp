// First versions of the editor's dialogs; each moves to a file of its own as it is filled in.
#include "editor/ui/editor_dialogs.h"

namespace ts {

bool showPlaneProperties(QWidget*, App&, EditorSession&, int) { return false; }
bool showEditorOptions(QWidget*, App&, EditorSession&) { return false; }
bool showLinks(QWidget*, App&, EditorSession&) { return false; }
bool showAddPlane(QWidget*, App&, EditorSession&) { return false; }
bool showTileSize(QWidget*, App&, EditorSession&) { return false; }
bool showSelectionOperations(QWidget*, App&, EditorSession&) { return false; }
bool showBlocksCopy(QWidget*, App&, EditorSession&) { return false; }
bool showExecuteScript(QWidget*, App&, EditorSession&) { return false; }
bool showObjectParameters(QWidget*, App&, EditorSession&, int) { return false; }

}  // namespace ts
