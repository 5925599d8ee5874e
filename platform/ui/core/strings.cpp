// The layer's own strings: prompts ("status-bar prompt\ntooltip") of the
// standard commands and the framework's messages. They are the last module
// of the lookup chain, so the program or a library may replace any of them.
#include "platform/ui/core/constants.h"
#include "platform/ui/core/resources.h"

namespace
{

void AddLayerStrings(CResourceModule& m)
{
    m.AddStrings({
        {AFX_IDS_APP_TITLE, "Brantel"},
        {AFX_IDS_IDLEMESSAGE, "Ready"},
        {ID_FILE_NEW, "Creates a new document\nNew"},
        {ID_FILE_OPEN, "Opens an existing document\nOpen"},
        {ID_FILE_CLOSE, "Closes the active document\nClose"},
        {ID_FILE_SAVE, "Saves the active document\nSave"},
        {ID_FILE_SAVE_AS, "Saves the active document under a new name\nSave As"},
        {ID_FILE_PAGE_SETUP, "Changes the page layout\nPage Setup"},
        {ID_FILE_PRINT_SETUP, "Chooses the printer and its options\nPrint Setup"},
        {ID_FILE_PRINT, "Prints the active document\nPrint"},
        {ID_FILE_PRINT_DIRECT, "Prints the active document with the current options\nQuick Print"},
        {ID_FILE_PRINT_PREVIEW, "Shows the pages as they will be printed\nPrint Preview"},
        {ID_EDIT_CLEAR, "Deletes the selection\nDelete"},
        {ID_EDIT_CLEAR_ALL, "Deletes everything\nDelete All"},
        {ID_EDIT_COPY, "Copies the selection to the clipboard\nCopy"},
        {ID_EDIT_CUT, "Moves the selection to the clipboard\nCut"},
        {ID_EDIT_FIND, "Searches for a text\nFind"},
        {ID_EDIT_PASTE, "Inserts the clipboard contents\nPaste"},
        {ID_EDIT_REPEAT, "Repeats the last action\nRepeat"},
        {ID_EDIT_REPLACE, "Replaces a text with another\nReplace"},
        {ID_EDIT_SELECT_ALL, "Selects everything\nSelect All"},
        {ID_EDIT_UNDO, "Takes back the last action\nUndo"},
        {ID_EDIT_REDO, "Does the last undone action again\nRedo"},
        {ID_WINDOW_NEW, "Opens another window on the active document\nNew Window"},
        {ID_WINDOW_ARRANGE, "Lines up the icons of the windows\nArrange Icons"},
        {ID_WINDOW_CASCADE, "Places the windows so that they overlap\nCascade"},
        {ID_WINDOW_TILE_HORZ, "Places the windows side by side, one above the other\nTile"},
        {ID_WINDOW_TILE_VERT, "Places the windows side by side, next to each other\nTile"},
        {ID_WINDOW_SPLIT, "Divides the active window into panes\nSplit"},
        {ID_APP_ABOUT, "Shows the program's version and copyright\nAbout"},
        {ID_APP_EXIT, "Ends the program, asking to save changed documents\nExit"},
        {ID_HELP_INDEX, "Opens the help contents\nHelp Contents"},
        {ID_HELP_FINDER, "Opens the help\nHelp Topics"},
        {ID_HELP_USING, "Explains how to use the help\nHelp"},
        {ID_CONTEXT_HELP, "Shows help on the item clicked next\nHelp"},
        {ID_HELP, "Shows help on the current task\nHelp"},
        {ID_DEFAULT_HELP, "Opens the help\nHelp"},
        {ID_NEXT_PANE, "Moves to the next pane\nNext Pane"},
        {ID_PREV_PANE, "Moves to the previous pane\nPrevious Pane"},
        {AFX_IDP_FAILED_TO_OPEN_DOC, "Cannot open file %s."},
        {AFX_IDP_FAILED_INVALID_FORMAT, "Unexpected file format."},
        {AFX_IDP_FAILED_TO_SAVE_DOC, "Failed to save document."},
        {AFX_IDP_ASK_TO_SAVE, "Save changes to %s?"},
        {AFX_IDP_INTERNAL_FAILURE, "An unexpected error occurred: %s"},
        {AFX_IDP_PARSE_INT, "Please enter an integer."},
        {AFX_IDP_PARSE_REAL, "Please enter a number."},
        {AFX_IDP_PARSE_INT_RANGE, "Please enter an integer between %d and %d."},
        {AFX_IDP_PARSE_REAL_RANGE, "Please enter a number between %g and %g."},
        {AFX_IDP_PARSE_STRING_SIZE, "Please enter no more than %d characters."},
    });
    for (UINT id = ID_FILE_MRU_FIRST; id <= ID_FILE_MRU_LAST; ++id)
        m.Add(id, CString("Opens this document"));
}

const CResourceModule s_layerStrings("afxui", CResourceModule::library, AddLayerStrings);

} // namespace
