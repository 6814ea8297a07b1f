// Dispatch identifiers of the web browser's events (DWebBrowserEvents2).
#pragma once

#define DISPID_STATUSTEXTCHANGE 102
#define DISPID_DOWNLOADCOMPLETE 104
#define DISPID_COMMANDSTATECHANGE 105
#define DISPID_DOWNLOADBEGIN 106
#define DISPID_PROGRESSCHANGE 108
#define DISPID_TITLECHANGE 113
// (pDisp, URL*, Flags*, TargetFrameName*, PostData*, Headers*, VARIANT_BOOL* Cancel)
#define DISPID_BEFORENAVIGATE2 250
// (IDispatch** ppDisp, VARIANT_BOOL* Cancel)
#define DISPID_NEWWINDOW2 251
// (pDisp, URL*)
#define DISPID_NAVIGATECOMPLETE2 252
// (pDisp, URL*)
#define DISPID_DOCUMENTCOMPLETE 259
// (pDisp, URL*, Frame*, StatusCode*, VARIANT_BOOL* Cancel)
#define DISPID_NAVIGATEERROR 271
// (IDispatch** ppDisp, VARIANT_BOOL* Cancel, DWORD dwFlags, BSTR bstrUrlContext, BSTR bstrUrl)
#define DISPID_NEWWINDOW3 273
