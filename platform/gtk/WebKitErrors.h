// WebKit's load failures in the platform's terms: the status NavigateError reports, and the
// certificate problems the host is asked about.
#pragma once

#include <gio/gio.h>

#include <optional>
#include <vector>

#include <windows.h>

namespace gtkui {

// The browser's status for a failed load (INET_E_* values); nothing for a load that was
// cancelled or stopped by a policy decision, which is no error of the page.
std::optional<LONG> NavigateErrorStatusOf(const GError* error);

// The status of a page that is not loaded because of its certificate.
constexpr LONG kInvalidCertificateStatus = static_cast<LONG>(0x800C0019);

// One ERROR_INTERNET_SEC_* problem per kind of certificate error, in the order the platform
// asks about them: date, name, authority, revocation; an error of no known kind counts as an
// invalid certificate (12169).
std::vector<DWORD> CertificateProblemsOf(GTlsCertificateFlags errors);

}  // namespace gtkui
