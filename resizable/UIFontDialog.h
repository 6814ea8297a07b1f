// Dialogs made from a private copy of their template: every text passes through the dialog
// text path (so an override table could replace it), and on systems of version 6.0 or later
// the template's font becomes the user's current message font at its current size.
#pragma once

#include <afxwin.h>

class CUIFontDialog : public CDialog {
 public:
  CUIFontDialog(UINT templateId, CWnd* parent = nullptr);
  ~CUIFontDialog() override;

  BOOL Create(UINT templateId, CWnd* parent = nullptr) override;
  // Modeless, from the rewritten template; FALSE (ERROR_RESOURCE_NAME_NOT_FOUND) when the
  // named template is not among the resources.
  BOOL Create(LPCWSTR templateName, CWnd* parent = nullptr) override;
  // The modal run from the rewritten template; -1 when no template can be had.
  INT_PTR DoModal() override;

  // A new fixed, zeroed global block with the template's texts rewritten; the caller frees it.
  // Reads only the size bytes given; a template that does not fit raises ExceptionPL.
  static HGLOBAL RewriteDialogTemplate(const void* dialogTemplate, SIZE_T size);
  // A new global block holding the template with the message font; the caller frees it.
  static HGLOBAL ApplyMessageFont(HGLOBAL dialogTemplate);
  // The message font's height in points on a screen of the given dots per inch.
  static int MessageFontPoints(LONG height, int dpi);
};
