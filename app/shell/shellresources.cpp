// The program's resources: the template strings, the menus of the main
// frame and of the six document types, the accelerators and the About box.
#include "app/shell/brantelmodview.h"
#include "app/shell/brantelresview.h"
#include "app/shell/elemmodview.h"
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
        for (AfxMenuEntry entry :
             {AfxMenuItem(ID_FILE_CLOSE, "&Close"), AfxMenuItem(ID_FILE_SAVE, "&Save\tCtrl+S"),
              AfxMenuItem(ID_FILE_SAVE_AS, "Save &As..."), AfxMenuSeparator(),
              AfxMenuItem(ID_KOR_SAVE_IMAGE, "Save &image..."),
              AfxMenuItem(ID_KOR_COPY_IMAGE, "Cop&y image to clipboard"), AfxMenuSeparator(),
              AfxMenuItem(ID_FILE_PRINT, "&Print...\tCtrl+P"),
              AfxMenuItem(ID_FILE_PRINT_DIRECT, "Print &direct"),
              AfxMenuItem(ID_FILE_PRINT_PREVIEW, "Print pre&view")})
            entries.push_back(entry);
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

// The main frame's settings: units, colours, OpenGL, the automatic zoom and
// scaling, the grid and thickness lists, the toolbars and the text font.
AfxMenuEntry OptionsPopup()
{
    return AfxMenuPopup(
        "O&ptions",
        {AfxMenuItem(ID_UNITS_FORMATS, "&Units && formats"),
         AfxMenuItem(ID_COLOR_OPTIONS, "&Color options"),
         AfxMenuItem(ID_KOR_OGL_OPTIONS, "&OpenGL implementation"),
         AfxMenuItem(ID_KOR_DISABLEOPENGL, "Disable OpenGL &acceleration"), AfxMenuSeparator(),
         AfxMenuItem(ID_AUTO_ZOOM, "Automatically &zoom"),
         AfxMenuItem(ID_AUTO_SCALE_RESULTS, "Automatically scale &results"),
         AfxMenuItem(ID_GRID_THICKNESS, "&Grid spacing && Active thickness"), AfxMenuSeparator(),
         AfxMenuItem(ID_KOR_CUSTOMIZE, "&Toolbars..."), AfxMenuItem(ID_KOR_FONTS, "Text &font...")});
}

// The window commands; Cascade, Tile and Arrange act while the documents
// show as windows (not as tabs). The open documents follow the last entry.
AfxMenuEntry WindowPopup()
{
    return AfxMenuPopup("&Window", {AfxMenuItem(ID_WINDOW_CASCADE, "&Cascade"),
                                    AfxMenuItem(ID_WINDOW_TILE_HORZ, "&Tile"),
                                    AfxMenuItem(ID_WINDOW_ARRANGE, "&Arrange Icons"),
                                    AfxMenuSeparator(),
                                    AfxMenuItem(ID_KOR_WORKBOOK, "Documents as &tabs")});
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
                                  AfxMenuItem(ID_TOOL_FILLET, "&Fillet\tCtrl+F"), AfxMenuSeparator(),
                                  AfxMenuItem(ID_LINK_DOFS, "&Link DOF's"),
                                  AfxMenuItem(ID_KOR_ENTERCOORD, "&Enter coordinates...")});
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
              AfxMenuItem(ID_KOR_TOOL_POINTER, "P&ointer"),
              AfxMenuItem(ID_SELECT_OBJECTS, "&Select Objects"),
              AfxMenuItem(ID_KOR_ROTATE_ALL, "R&otate all objects..."),
              AfxMenuItem(ID_FLIP_HORIZONTAL, "Flip horisontal\tCtrl+Shift+H"),
              AfxMenuItem(ID_FLIP_VERTICAL, "Flip vertical\tCtrl+Shift+V"), AfxMenuSeparator(),
              AfxMenuItem(ID_DELETE_MESH, "Delete Mesh"), AfxMenuItem(ID_DELETE_RESULTS, "Delete results")})
            edit.push_back(entry);
        if (shell)
            edit.push_back(AfxMenuItem(ID_INSERT_LOAD_GROUP, "Insert LoadGroup"));
    }
    return AfxMenuPopup("&Edit", edit);
}

// The view commands of the three modes: zoom and pan, the 3D camera and
// clip planes, what is drawn, and the display of the results.
AfxMenuEntry ViewPopup()
{
    const AfxMenu zoom = {
        AfxMenuItem(ID_KOR_TOOL_PAN, "&Pan"), AfxMenuItem(ID_KOR_ZOOM_IN, "Zoom &in"),
        AfxMenuItem(ID_KOR_ZOOM_OUT, "Zoom &out"), AfxMenuItem(ID_KOR_ZOOM_FIT, "Zoom to &model"),
        AfxMenuItem(ID_KOR_TOOL_ZOOMRECT, "Zoom &rectangle"),
        AfxMenuItem(ID_KOR_TOOL_ZOOMDYN, "Zoom &dynamic"),
        AfxMenuItem(ID_KOR_ZOOM_FACTOR, "Set Zoom &Factor..."), AfxMenuSeparator(),
        AfxMenuItem(ID_KOR_MOVE_UP, "Move &Up"), AfxMenuItem(ID_KOR_MOVE_DOWN, "Move &Down"),
        AfxMenuItem(ID_KOR_MOVE_LEFT, "Move &Left"), AfxMenuItem(ID_KOR_MOVE_RIGHT, "Move R&ight"),
        AfxMenuItem(ID_KOR_MOVE_ABSOLUTE, "Move &Absolute...")};
    const AfxMenu camera = {
        AfxMenuItem(50017, "&Rotation tool"), AfxMenuItem(50029, "Two-&dimensional"),
        AfxMenuItem(34033, "&Perspective"), AfxMenuItem(34073, "&Wider field of view"),
        AfxMenuItem(34074, "&Narrower field of view"), AfxMenuSeparator(),
        AfxMenuPopup("Pre&set views",
                     {AfxMenuItem(50036, "posX"), AfxMenuItem(50037, "negX"), AfxMenuItem(50038, "posY"),
                      AfxMenuItem(50039, "negY"), AfxMenuItem(50040, "posZ"), AfxMenuItem(50041, "negZ")}),
        AfxMenuPopup("R&otate",
                     {AfxMenuItem(50048, "About x +2 degrees"), AfxMenuItem(50049, "About x -2 degrees"),
                      AfxMenuItem(50050, "About y +2 degrees"), AfxMenuItem(50051, "About y -2 degrees"),
                      AfxMenuItem(50052, "About z +2 degrees"), AfxMenuItem(50053, "About z -2 degrees")}),
        AfxMenuPopup("&Centre of rotation", {AfxMenuItem(50066, "Position by cursor"),
                                             AfxMenuItem(50067, "Global origin")}),
        AfxMenuPopup("C&lip planes",
                     {AfxMenuItem(50054, "&Clip-planes..."), AfxMenuSeparator(),
                      AfxMenuItem(50056, "Rotate vertical clip-planes counter-clockwise"),
                      AfxMenuItem(50057, "Rotate vertical clip-planes clockwise"),
                      AfxMenuItem(50058, "Increase horizontal distance of vertical clip-planes"),
                      AfxMenuItem(50059, "Decrease horizontal distance of vertical clip-planes"),
                      AfxMenuItem(50060, "Move horizontal clip-planes up"),
                      AfxMenuItem(50061, "Move horizontal clip-planes down"),
                      AfxMenuItem(50062, "Separate horizontal clip-planes"),
                      AfxMenuItem(50063, "Move horizontal clip-planes closer")})};
    const AfxMenu drawing = {
        AfxMenuItem(ID_VIEW_SOLID, "S&olid"), AfxMenuItem(50026, "&Color plot"),
        AfxMenuItem(50027, "&Light"), AfxMenuItem(50028, "&Wireframe"),
        AfxMenuItem(50030, "&Transparent"), AfxMenuSeparator(),
        AfxMenuItem(ID_SHOW_NODE_NUMBERS, "Show node-numbers"),
        AfxMenuItem(ID_SHOW_ELEM_NUMBERS, "Show element-numbers"),
        AfxMenuItem(ID_SHOW_ELEMENT_MESH, "&Show element mesh"),
        AfxMenuItem(ID_SHOW_ELEMENT_AXES, "Show material axes of elements"),
        AfxMenuItem(ID_MATERIAL_AXES, "Stresses in &material axes")};
    const AfxMenu results = {
        AfxMenuItem(ID_RES_SCALE_UP, "Scale stresses &up\tAlt+Up"),
        AfxMenuItem(ID_RES_SCALE_DOWN, "Scale stresses dow&n\tAlt+Down"),
        AfxMenuItem(ID_RES_SCALE_NORMALIZE, "N&ormalize scale"),
        AfxMenuItem(ID_RES_SCALE_SET, "Set scale..."), AfxMenuSeparator(),
        AfxMenuItem(ID_RES_CONTOUR, "&Contour plot"), AfxMenuItem(ID_RES_EXTRUDE, "&Extrude"),
        AfxMenuSeparator(), AfxMenuItem(ID_RES_PRINT_TO_FILE, "Print results to file")};
    return AfxMenuPopup(
        "&View",
        {AfxMenuItem(ID_MODE_MODELLING, "&View Modelling mode\tM"),
         AfxMenuItem(ID_MODE_RESULTS, "View &Results mode\tR"), AfxMenuSeparator(),
         AfxMenuPopup("&Zoom and pan", zoom), AfxMenuPopup("&3D view", camera),
         AfxMenuPopup("&Drawing", drawing), AfxMenuPopup("R&esults", results), AfxMenuSeparator(),
         AfxMenuItem(ID_KOR_VIEW_GRID, "&Grid"), AfxMenuItem(ID_KOR_VIEW_SNAP, "S&nap to grid"),
         AfxMenuItem(ID_KOR_VIEW_AXES, "Global &axes"),
         AfxMenuItem(ID_KOR_ENTERCOORD, "&Enter coordinates..."), AfxMenuSeparator(),
         AfxMenuItem(ID_KOR_LOGWINDOW, "L&og window")});
}

// The menu of a document type; shell documents carry the buckling and
// membrane commands, the documents drawn in the modelling view (not the
// constrained-mesh ones) the drawing tools and edits.
AfxMenu DocumentMenu(bool shell, bool modelling)
{
    AfxMenu model = {AfxMenuItem(ID_GENERATE_MESH, "&Generate mesh"),
                     AfxMenuItem(ID_UNIFORM_REFINE, "&Uniformly refine"),
                     AfxMenuItem(ID_COARSER, "C&oarser\tCtrl+Alt+DOWN"),
                     AfxMenuItem(ID_FINER, "&Finer\tCtrl+Alt+UP"), AfxMenuItem(ID_SMOOTH, "S&mooth"),
                     AfxMenuSeparator(), AfxMenuItem(ID_MATERIALS, "Mate&rials"),
                     AfxMenuItem(ID_VOLUME_FORCES, "&Volume forces"), AfxMenuItem(ID_MOVE_ALL, "Move All"),
                     AfxMenuSeparator(), AfxMenuItem(ID_IMPORT_REGION, "&Import region"),
                     AfxMenuItem(ID_EXPORT_REGION, "&Export region")};
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
    calculate.push_back(AfxMenuItem(ID_STOP_CALCULATE, "S&top calculate"));
    calculate.push_back(AfxMenuSeparator());
    calculate.push_back(AfxMenuItem(ID_ELEM_MESH_CONTROL,
                                    constrained ? "&Mesh control" : "&Element && mesh control"));
    if (constrained)
        calculate.push_back(AfxMenuItem(ID_ELEM_OPTIONS, "Element control"));
    calculate.push_back(AfxMenuSeparator());
    calculate.push_back(AfxMenuItem(ID_VIEW_LOGFILE, "View logfile"));
    if (shell)
        calculate.push_back(AfxMenuItem(ID_VIEW_BUCKLING_LOGFILE, "View Buckling logfile"));
    calculate.push_back(AfxMenuItem(ID_NODE_ELEMENT_OUTPUT, "Node && Element output"));
    calculate.push_back(AfxMenuItem(ID_MAX_MIN_RESULTS, "Max && min results"));
    AfxMenu menu = {FilePopup(true), EditPopup(modelling, shell)};
    if (modelling)
        menu.push_back(DrawPopup());
    for (AfxMenuEntry entry : {AfxMenuPopup("&Model", model), AfxMenuPopup("&Calculate", calculate),
                               ViewPopup(), OptionsPopup(), WindowPopup(), HelpPopup()})
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
           AfxDialogControl(IDC_STATIC, AfxCtl::staticText, "Version " BRANTEL_VERSION,
                            CRect(10, 24, 190, 34), WS_VISIBLE),
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
        {ID_STOP_CALCULATE, "Stop the running calculation\nStop"},
        {ID_RES_SCALE_UP, "Increase scale of displayed results\nIncrease scale"},
        {ID_RES_SCALE_DOWN, "Decrease scale of displayed results\nDecrease scale"},
        {ID_RES_SCALE_NORMALIZE, "Normalize scale of displayed results\nNormalize scale"},
        {ID_RES_CONTOUR, "Draw the results as isometric bands\nContour plot"},
        {ID_RES_EXTRUDE, "Draw the model as a volume\nExtrude"},
        {ID_LINK_DOFS, "Link DOF's\nLink DOF's"},
        // The modelling view's drawing tools.
        {ID_TOOL_NEW_NODE, "Insert a node where you click\nNew node"},
        {ID_TOOL_RECTANGLE, "Draw a rectangular region by two corners\nRectangle"},
        {ID_TOOL_QUADRILATERAL, "Draw a quadrilateral region by four corners\nQuadrilateral"},
        {ID_TOOL_TRIANGLE, "Draw a triangular region by three corners\nTriangle"},
        {ID_TOOL_POLYGON, "Draw a polygonal region corner by corner\nPolygon"},
        {ID_TOOL_CIRCLE, "Draw a circular region by its centre and a point of its edge\nCircle"},
        {ID_TOOL_RING_SEGMENT, "Draw a segment of a ring\nRing segment"},
        {ID_REGION_UNION, "Join the selected regions into one\nUnion"},
        {ID_TOOL_DIVIDE, "Divide a region along a line\nDivide"},
        {ID_TOOL_FILLET, "Round the corner between two edges\nFillet"},
    });
    m.Add(IDR_MAINFRAME,
          AfxMenu{FilePopup(false),
                  AfxMenuPopup("&View", {AfxMenuItem(ID_KOR_LOGWINDOW, "L&og window")}),
                  OptionsPopup(), AfxMenuPopup("&Window", {AfxMenuItem(ID_KOR_WORKBOOK,
                                                                       "Documents as &tabs")}),
                  HelpPopup()});
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
                        // The results view's scale, the two view modes and
                        // the next document.
                        {FVIRTKEY | FALT, WORD(VK_UP), WORD(ID_RES_SCALE_UP)},
                        {FVIRTKEY | FALT, WORD(VK_DOWN), WORD(ID_RES_SCALE_DOWN)},
                        {FVIRTKEY, 'R', WORD(ID_MODE_RESULTS)},
                        {FVIRTKEY, 'M', WORD(ID_MODE_MODELLING)},
                        {FVIRTKEY | FCONTROL, WORD(VK_TAB), WORD(ID_WINDOW_NEXT)},
                        {FVIRTKEY | FCONTROL, WORD(VK_F6), WORD(ID_WINDOW_NEXT)},
                        {FVIRTKEY, WORD(VK_F1), WORD(ID_HELP)},
                        {FVIRTKEY | FSHIFT, WORD(VK_F1), WORD(ID_CONTEXT_HELP)},
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
