// Messages and questions to the user, in place of message boxes.
//
// AfxMessageBox hands the text and the wanted buttons to the installed
// message service and returns its answer (IDOK, IDYES, ...). The default
// service writes the text to standard error and answers with the default
// button; a window layer or a test installs its own.
#pragma once

#include "platform/afx/types.h"

// Buttons.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
// Icons.
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
// Default button (the first one unless given).
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
// Modality (accepted, no effect here).
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFMASK = 0x00000F00;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

class CMessageService
{
public:
    virtual ~CMessageService() = default;
    // Shows lpszText (with a caption, which may be null) and the buttons and
    // icon of nType; returns the answer's ID.
    virtual int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) = 0;
};

// Installs a service (null: the default one) and returns the one it replaces.
// The caller keeps ownership and must uninstall it before destroying it.
CMessageService* AfxSetMessageService(CMessageService* pService);
CMessageService* AfxGetMessageService();

// The answer of the default button of nType (MB_DEFBUTTONn among its buttons).
int AfxDefaultAnswer(UINT nType);

int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
