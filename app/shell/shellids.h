// Command and resource ids of the program's menus, documents and frames.
#pragma once

#include "platform/ui/core/afxui.h"

// Resources: 128 the main frame (menu, accelerators, title); 129-135 the
// document templates' strings and menus; 131 the About box.
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_PLATE = 129;
constexpr UINT IDR_CONSTR_PLATE = 130;
constexpr UINT IDD_ABOUTBOX = 131;
constexpr UINT IDR_MEMBRANE = 132;
constexpr UINT IDR_CONSTR_MEMBRANE = 133;
constexpr UINT IDR_SHELL = 134;
constexpr UINT IDR_CONSTR_SHELL = 135;

// Document commands.
constexpr UINT ID_VOLUME_FORCES = 34016;
constexpr UINT ID_IMPORT_REGION = 34052;
constexpr UINT ID_MOVE_ALL = 34053;
constexpr UINT ID_VIEW_LOGFILE = 34050;
constexpr UINT ID_VIEW_BUCKLING_LOGFILE = 34062;
constexpr UINT ID_MAX_MIN_RESULTS = 34072;
constexpr UINT ID_NODE_ELEMENT_OUTPUT = 34075;
constexpr UINT ID_EXPORT_REGION = 34078;
constexpr UINT ID_STOP_CALCULATE = 50072;
constexpr UINT ID_MATERIAL_AXES = 34081;

// Shell document commands.
constexpr UINT ID_MEMBRANE_BCS = 34059;
constexpr UINT ID_PLATE_BCS = 34060;
constexpr UINT ID_MEMBRANE_ANALYSIS = 34061;
constexpr UINT ID_IMPORT_MEMBRANE = 34063;

// Child frame commands.
constexpr UINT ID_CALCULATE = 50068;
constexpr UINT ID_SMOOTH = 50069;
constexpr UINT ID_FINER = 50070;
constexpr UINT ID_COARSER = 50071;
constexpr UINT ID_ELEM_MESH_CONTROL = 34018;
constexpr UINT ID_GENERATE_MESH = 34032;
constexpr UINT ID_MATERIALS = 34009;
constexpr UINT ID_UNIFORM_REFINE = 34034;
constexpr UINT ID_SHOW_NODE_NUMBERS = 34044;
constexpr UINT ID_SHOW_ELEM_NUMBERS = 34045;
// Constrained-mesh frame: the element and storage options.
constexpr UINT ID_ELEM_OPTIONS = 34046;

// View modes.
constexpr UINT ID_MODE_MODELLING = 32804;
constexpr UINT ID_MODE_ELEMENTS = 32854;
constexpr UINT ID_MODE_RESULTS = 50055;
