// The program's resources: the template strings, the menus of the main
// frame and of the six document types, the accelerators and the About box.
#include "app/shell/brantelmodview.h"
#include "app/shell/mainframe.h"
#include "app/shell/materialdlgs.h"
#include "app/shell/pagetemplates.h"
#include "app/shell/shellids.h"

namespace
{

AfxMenuEntry FilePopup(bool withDocument)
{
    AfxMenu entries = {AfxMenuItem(ID_FILE_NEW, "&New\tCtrl+N"),
                       AfxMenuItem(ID_FILE_OPEN, "&Open...\tCtrl+O")};
    if (withDocument) {
        entries.push_back(AfxMenuItem(ID_FILE_CLOSE, "&Close"));
        entries.push_back(AfxMenuItem(ID_FILE_SAVE, "&Save\tCtrl+S"));
        entries.push_back(AfxMenuItem(ID_FILE_SAVE_AS, "Save &As..."));
        entries.push_back(AfxMenuSeparator());
        entries.push_back(AfxMenuItem(ID_FILE_PRINT, "&Print...\tCtrl+P"));
    }
    entries.push_back(AfxMenuItem(ID_FILE_PRINT_SETUP, "P&rint Setup..."));
    entries.push_back(AfxMenuSeparator());
    entries.push_back(AfxMenuItem(ID_FILE_MRU_FILE1, "Recent File"));
    entries.push_back(AfxMenuSeparator());
    entries.push_back(AfxMenuItem(ID_APP_EXIT, "E&xit"));
    return AfxMenuPopup("&File", entries);
}

AfxMenuEntry HelpPopup()
{
    return AfxMenuPopup("&Help", {AfxMenuItem(ID_HELP_FINDER, "&Help Topics"),
                                  AfxMenuItem(ID_USER_MANUAL, "User manual"), AfxMenuSeparator(),
                                  AfxMenuItem(ID_APP_ABOUT, "&About Brantel...")});
}

// The main frame's settings.
AfxMenu FrameOptions()
{
    return {AfxMenuItem(ID_AUTO_ZOOM, "Automatically &zoom"),
            AfxMenuItem(ID_AUTO_SCALE_RESULTS, "Automatically scale &results"),
            AfxMenuItem(ID_GRID_THICKNESS, "&Grid spacing && Active thickness")};
}

AfxMenuEntry WindowPopup()
{
    return AfxMenuPopup("&Window", {AfxMenuItem(ID_WINDOW_CASCADE, "&Cascade"),
                                    AfxMenuItem(ID_WINDOW_TILE_HORZ, "&Tile"),
                                    AfxMenuItem(ID_WINDOW_ARRANGE, "&Arrange Icons")});
}

// The drawing tools of the modelling view.
AfxMenuEntry DrawPopup()
{
    return AfxMenuPopup("&Draw", {AfxMenuItem(ID_TOOL_RECTANGLE, "&Rectangle\tShift+R"),
                                  AfxMenuItem(ID_TOOL_QUADRILATERAL, "&Quadrilateral\tShift+Q"),
                                  AfxMenuItem(ID_TOOL_TRIANGLE, "&Triangle\tShift+T"),
                                  AfxMenuItem(ID_TOOL_POLYGON, "&Polygon\tShift+P"),
                                  AfxMenuItem(ID_TOOL_CIRCLE, "&Circle\tShift+C"),
                                  AfxMenuItem(ID_TOOL_RING_SEGMENT, "Ring &segment\tShift+S"),
                                  AfxMenuItem(ID_TOOL_NEW_NODE, "&New node\tShift+N"), AfxMenuSeparator(),
                                  AfxMenuItem(ID_REGION_UNION, "&Union\tCtrl+U"),
                                  AfxMenuItem(ID_TOOL_DIVIDE, "&Divide\tCtrl+D"),
                                  AfxMenuItem(ID_TOOL_FILLET, "&Fillet\tCtrl+F")});
}

// The Edit menu; the documents that are drawn in the modelling view carry
// its edits, the shell documents also the load groups.
AfxMenuEntry EditPopup(bool modelling, bool shell)
{
    AfxMenu edit = {AfxMenuItem(ID_EDIT_UNDO, "&Undo\tCtrl+Z"), AfxMenuItem(ID_EDIT_REDO, "&Redo\tCtrl+Y")};
    if (modelling) {
        for (AfxMenuEntry entry :
             {AfxMenuSeparator(), AfxMenuItem(ID_CUT_REGIONS, "Cu&t\tCtrl+X"),
              AfxMenuItem(ID_COPY_REGIONS, "&Copy\tCtrl+C"), AfxMenuItem(ID_PASTE_REGIONS, "P&aste\tCtrl+V"),
              AfxMenuItem(ID_DELETE_SELECTION, "D&elete\tCtrl+Del"),
              AfxMenuItem(ID_MOVE_SELECTION, "&Move\tCtrl+M"), AfxMenuSeparator(),
              AfxMenuItem(ID_REPEAT_QUIT, "Repeat/Quit"), AfxMenuSeparator(),
              AfxMenuItem(ID_FLIP_HORIZONTAL, "Flip horisontal\tCtrl+Shift+H"),
              AfxMenuItem(ID_FLIP_VERTICAL, "Flip vertical\tCtrl+Shift+V"), AfxMenuSeparator(),
              AfxMenuItem(ID_DELETE_MESH, "Delete Mesh"), AfxMenuItem(ID_DELETE_RESULTS, "Delete results")})
            edit.push_back(entry);
        if (shell)
            edit.push_back(AfxMenuItem(ID_INSERT_LOAD_GROUP, "Insert LoadGroup"));
    }
    return AfxMenuPopup("&Edit", edit);
}

// The menu of a document type; shell documents carry the buckling and
// membrane commands, the documents drawn in the modelling view (not the
// constrained-mesh ones) the drawing tools and edits.
AfxMenu DocumentMenu(bool shell, bool modelling)
{
    AfxMenu model = {AfxMenuItem(ID_IMPORT_REGION, "&Import region"),
                     AfxMenuItem(ID_EXPORT_REGION, "&Export region"),
                     AfxMenuItem(ID_MOVE_ALL, "Move All"),
                     AfxMenuItem(ID_VOLUME_FORCES, "&Volume forces")};
    if (shell) {
        model.push_back(AfxMenuItem(ID_IMPORT_MEMBRANE, "Membrane file"));
        model.push_back(AfxMenuSeparator());
        model.push_back(AfxMenuItem(ID_MEMBRANE_BCS, "Membrane BC's"));
        model.push_back(AfxMenuItem(ID_PLATE_BCS, "Plate BC's"));
    }
    // The constrained-mesh documents have their mesh settings and element
    // options in place of the element and mesh control.
    const bool constrained = !modelling;
    AfxMenu calculate = {AfxMenuItem(ID_CALCULATE, shell ? "&Buckling Analysis" : "&Calculate")};
    if (shell)
        calculate.push_back(AfxMenuItem(ID_MEMBRANE_ANALYSIS, "Membrane analysis"));
    for (AfxMenuEntry entry :
         {AfxMenuItem(ID_STOP_CALCULATE, "S&top calculate"), AfxMenuItem(ID_SMOOTH, "S&mooth"),
          AfxMenuItem(ID_UNIFORM_REFINE, "&Uniformly refine"),
          AfxMenuItem(ID_COARSER, "C&oarser\tCtrl+Alt+DOWN"),
          AfxMenuItem(ID_FINER, "&Finer\tCtrl+Alt+UP"),
          AfxMenuItem(ID_ELEM_MESH_CONTROL,
                      constrained ? "&Mesh control" : "&Element && mesh control")})
        calculate.push_back(entry);
    if (constrained)
        calculate.push_back(AfxMenuItem(ID_ELEM_OPTIONS, "Element control"));
    calculate.push_back(AfxMenuSeparator());
    calculate.push_back(AfxMenuItem(ID_VIEW_LOGFILE, "View logfile"));
    if (shell)
        calculate.push_back(AfxMenuItem(ID_VIEW_BUCKLING_LOGFILE, "View Buckling logfile"));
    calculate.push_back(AfxMenuItem(ID_MAX_MIN_RESULTS, "Max && min results"));
    calculate.push_back(AfxMenuItem(ID_NODE_ELEMENT_OUTPUT, "Node && Element output"));
    AfxMenu options = {AfxMenuItem(ID_MATERIALS, "Mate&rials"), AfxMenuSeparator()};
    for (const AfxMenuEntry& entry : FrameOptions())
        options.push_back(entry);
    if (modelling) {
        options.push_back(AfxMenuSeparator());
        options.push_back(AfxMenuItem(ID_SHOW_ELEMENT_MESH, "&Show element mesh"));
        options.push_back(AfxMenuItem(ID_SHOW_ELEMENT_AXES, "Show material axes of elements"));
    }
    AfxMenu menu = {FilePopup(true), EditPopup(modelling, shell)};
    if (modelling)
        menu.push_back(DrawPopup());
    for (AfxMenuEntry entry : {
            AfxMenuPopup("&Model", model),
            AfxMenuPopup("&Calculate", calculate),
            AfxMenuPopup("&View", {AfxMenuItem(ID_MODE_MODELLING, "&View Modelling mode"),
                                   AfxMenuItem(ID_MODE_RESULTS, "View &Results mode"),
                                   AfxMenuSeparator(),
                                   AfxMenuItem(ID_SHOW_NODE_NUMBERS, "Show node-numbers"),
                                   AfxMenuItem(ID_SHOW_ELEM_NUMBERS, "Show element-numbers"),
                                   AfxMenuItem(ID_MATERIAL_AXES, "Stresses in &material axes")}),
            AfxMenuPopup("O&ptions", options),
            WindowPopup(),
            HelpPopup()})
        menu.push_back(entry);
    return menu;
}

DialogTemplate AboutTemplate()
{
    DialogTemplate t;
    t.nID = IDD_ABOUTBOX;
    t.strCaption = "About Brantel";
    t.size = CSize(200, 62);
    t.Add({AfxDialogControl(IDC_STATIC, AfxCtl::staticText, "Brantel: finite elements for flat plates",
                            CRect(10, 10, 190, 20), WS_VISIBLE),
           AfxDialogControl(IDOK, AfxCtl::push, "OK", CRect(140, 40, 190, 54),
                            WS_VISIBLE | WS_TABSTOP)});
    return t;
}

const CResourceModule s_resources("brantel_shell", CResourceModule::program, [](CResourceModule& m) {
    m.AddStrings({
        {IDR_MAINFRAME, "Brantel"},
        {ID_VIEW_MODE, "Switch between viewing mode\nActive mode"},
        {ID_ACTIVE_MATERIAL, "Sets current active material\nActive material"},
        {ID_RESULT_COMPONENT, "Stress component\nStress component"},
        {ID_ACTIVE_THICKNESS, "Displays the current thickness input\nActive thickness"},
        {IDR_PLATE, "\nPlate\nFEM\nPlate bending File (*.plb)\n.plb\nBrantel.Document\nBrantel "
                    "Document"},
        {IDR_CONSTR_PLATE, "\nPlate\nBrantel\nConstrained mesh plate bending File "
                           "(*.pbc)\n.pbc\nBrantel.Document\nBrantel Document"},
        {IDR_MEMBRANE, "\nMembrane\nFEM\nMembrane File (*.mem)\n.mem\nBrantel.Document\nBrantel "
                       "Document"},
        {IDR_CONSTR_MEMBRANE, "\nMembrane\nFEM\nConstrained mesh membrane file "
                              "(*.plc)\n.plc\nBrantel.Document\nBrantel Document"},
        {IDR_SHELL, "\nShell\nFEM\nShell analysis File (*.shl)\n.shl\nBrantel.Document\nBrantel "
                    "Document"},
        {IDR_CONSTR_SHELL, "\nShell\nFEM\nShell analysis File "
                           "(*.csh)\n.chl\nBrantel.Document\nBrantel Document"},
        {ID_CALCULATE, "Perform calculation on the generated mesh\nCalculate"},
        {ID_COARSER, "Coarsen mesh settings\nCoarser"},
        {ID_FINER, "Refine mesh settings\nRefine"},
        {ID_SMOOTH, "Smooth results\nSmooth"},
        {ID_GENERATE_MESH, "Generate mesh\nMesh"},
        {ID_UNIFORM_REFINE, "Uniformly refine mesh by subdividing each element into 4\nUniform "
                            "refinement"},
    });
    m.Add(IDR_MAINFRAME,
          AfxMenu{FilePopup(false), AfxMenuPopup("O&ptions", FrameOptions()), HelpPopup()});
    // The program's toolbars (0: a gap).
    m.Add(27002u, AfxToolBar{16, 15, {ID_VIEW_MODE, 0, 50068, 50069, 0, 34032, 50072, 0, 50070, 50071, 0, 34034}});
    m.Add(600u, AfxToolBar{16, 15, {32785, 0, 32773, 32775, 32777, 32813, 32772, 34076}});
    m.Add(609u, AfxToolBar{16, 15, {ID_ACTIVE_MATERIAL}});
    m.Add(611u, AfxToolBar{16, 15, {ID_RESULT_COMPONENT, 0, 32844, 0, 32806, 32807, 32820}});
    m.Add(613u, AfxToolBar{16, 15, {ID_ACTIVE_THICKNESS}});
    m.Add(620u, AfxToolBar{16, 15, {33013, 33012, 32920}});
    m.Add(27016u, AfxToolBar{16, 15, {50056, 50057, 50058, 50059, 0, 50060, 50061, 50062, 50063}});
    m.Add(27018u, AfxToolBar{16, 15, {34033, 0, 34073, 34074, 0, 32845}});
    for (UINT id : {IDR_PLATE, IDR_MEMBRANE})
        m.Add(id, DocumentMenu(false, true));
    for (UINT id : {IDR_CONSTR_PLATE, IDR_CONSTR_MEMBRANE, IDR_CONSTR_SHELL})
        m.Add(id, DocumentMenu(false, false));
    m.Add(IDR_SHELL, DocumentMenu(true, true));
    m.Add(IDR_MAINFRAME,
          AfxAccelTable{{FVIRTKEY | FCONTROL, 'N', WORD(ID_FILE_NEW)},
                        {FVIRTKEY | FCONTROL, 'O', WORD(ID_FILE_OPEN)},
                        {FVIRTKEY | FCONTROL, 'S', WORD(ID_FILE_SAVE)},
                        {FVIRTKEY | FCONTROL, 'P', WORD(ID_FILE_PRINT)},
                        {FVIRTKEY | FCONTROL, 'Z', WORD(ID_EDIT_UNDO)},
                        {FVIRTKEY | FCONTROL, 'Y', WORD(ID_EDIT_REDO)},
                        {FVIRTKEY | FCONTROL | FALT, WORD(VK_UP), WORD(ID_FINER)},
                        {FVIRTKEY | FCONTROL | FALT, WORD(VK_DOWN), WORD(ID_COARSER)},
                        // The modelling view's tools and edits.
                        {FVIRTKEY | FSHIFT, 'R', WORD(ID_TOOL_RECTANGLE)},
                        {FVIRTKEY | FSHIFT, 'Q', WORD(ID_TOOL_QUADRILATERAL)},
                        {FVIRTKEY | FSHIFT, 'T', WORD(ID_TOOL_TRIANGLE)},
                        {FVIRTKEY | FSHIFT, 'C', WORD(ID_TOOL_CIRCLE)},
                        {FVIRTKEY | FSHIFT, 'P', WORD(ID_TOOL_POLYGON)},
                        {FVIRTKEY | FSHIFT, 'S', WORD(ID_TOOL_RING_SEGMENT)},
                        {FVIRTKEY | FSHIFT, 'N', WORD(ID_TOOL_NEW_NODE)},
                        {FVIRTKEY | FCONTROL, 'F', WORD(ID_TOOL_FILLET)},
                        {FVIRTKEY | FCONTROL, 'D', WORD(ID_TOOL_DIVIDE)},
                        {FVIRTKEY | FCONTROL, 'U', WORD(ID_REGION_UNION)},
                        {FVIRTKEY | FCONTROL, 'M', WORD(ID_MOVE_SELECTION)},
                        {FVIRTKEY | FCONTROL, 'C', WORD(ID_COPY_REGIONS)},
                        {FVIRTKEY | FCONTROL, 'X', WORD(ID_CUT_REGIONS)},
                        {FVIRTKEY | FCONTROL, 'V', WORD(ID_PASTE_REGIONS)},
                        {FVIRTKEY | FCONTROL, WORD(VK_DELETE), WORD(ID_DELETE_SELECTION)},
                        {FVIRTKEY | FCONTROL | FSHIFT, 'H', WORD(ID_FLIP_HORIZONTAL)},
                        {FVIRTKEY | FCONTROL | FSHIFT, 'V', WORD(ID_FLIP_VERTICAL)}});
    m.Add(IDR_MODEL_POPUPS, ModelPopupMenus());
    m.Add(IDD_ABOUTBOX, AboutTemplate());
    brantel::AddPageTemplates(m);
    m.Add(CDlgOrthoMaterial::IDD, CDlgOrthoMaterial::BuildTemplate());
    m.Add(CNewMaterialDlg::IDD, CNewMaterialDlg::BuildTemplate());
});

} // namespace
