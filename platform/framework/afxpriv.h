// Framework helpers below the public classes: the template editor and the idle message.
#pragma once

#include "afxwin.h"

// Sent to a modal window while its loop is idle; an answer of 0 ends the idle phase.
#define WM_KICKIDLE 0x036A
// Asks a window to show help for what it shows; nonzero: help was shown.
#define WM_COMMANDHELP 0x0365

// An editable copy of a dialog template (either form) in a global memory block that the
// object owns until Detach. Templates are read within the memory that holds them: a template
// given by address must lie in a global block or a resource, and one that ends early leaves
// the object empty (m_hTemplate null).
class CDialogTemplate {
 public:
  explicit CDialogTemplate(const DLGTEMPLATE* dialogTemplate = nullptr);
  explicit CDialogTemplate(HGLOBAL dialogTemplate);
  CDialogTemplate(const CDialogTemplate&) = delete;
  CDialogTemplate& operator=(const CDialogTemplate&) = delete;
  virtual ~CDialogTemplate();

  // Copies size bytes of the template; FALSE when they do not hold a whole template.
  BOOL SetTemplate(const DLGTEMPLATE* dialogTemplate, UINT size);
  // Copies the named RT_DIALOG template of the resource module.
  BOOL Load(LPCWSTR templateName);
  // The block, now the caller's; the object is empty afterwards.
  HGLOBAL Detach();

  BOOL HasFont() const;
  // Sets DS_SETFONT and replaces the point size and face name; the extended form keeps its
  // weight, italic flag and character set (a template that had no font gets 400, 0 and 1).
  // The items move to their new 4-byte boundaries unchanged.
  BOOL SetFont(LPCWSTR faceName, WORD fontSize);
  BOOL SetSystemFont(WORD fontSize = 0);
  BOOL GetFont(CStringW& faceName, WORD& fontSize) const;
  static BOOL GetFont(const DLGTEMPLATE* dialogTemplate, CStringW& faceName, WORD& fontSize);
  void GetSizeInDialogUnits(SIZE* size) const;
  void GetSizeInPixels(SIZE* size) const;
  static BOOL IsDialogEx(const DLGTEMPLATE* dialogTemplate) {
    return reinterpret_cast<const WORD*>(dialogTemplate)[1] == 0xFFFF;
  }

  HGLOBAL m_hTemplate;
  DWORD m_dwTemplateSize;
  BOOL m_bSystemFont;
};
