#include "gtk/WebKitErrors.h"

#include <webkit2/webkit2.h>

#include "wininet.h"

namespace gtkui {

namespace {

constexpr LONG kCannotConnect = static_cast<LONG>(0x800C0004);
constexpr LONG kResourceNotFound = static_cast<LONG>(0x800C0005);
constexpr LONG kDownloadFailure = static_cast<LONG>(0x800C0008);
constexpr LONG kConnectionTimeout = static_cast<LONG>(0x800C000B);
constexpr LONG kUnknownProtocol = static_cast<LONG>(0x800C000D);
constexpr DWORD kInvalidCertificate = 12169;  // ERROR_INTERNET_SEC_INVALID_CERT
constexpr DWORD kRevoked = 12170;             // ERROR_INTERNET_SEC_CERT_REVOKED

}  // namespace

std::optional<LONG> NavigateErrorStatusOf(const GError* error) {
  if (error == nullptr) return kDownloadFailure;
  if (error->domain == WEBKIT_NETWORK_ERROR) {
    switch (error->code) {
      case WEBKIT_NETWORK_ERROR_CANCELLED: return std::nullopt;
      case WEBKIT_NETWORK_ERROR_FILE_DOES_NOT_EXIST: return kResourceNotFound;
      case WEBKIT_NETWORK_ERROR_UNKNOWN_PROTOCOL: return kUnknownProtocol;
      case WEBKIT_NETWORK_ERROR_TRANSPORT: return kCannotConnect;
      default: return kDownloadFailure;
    }
  }
  if (error->domain == WEBKIT_POLICY_ERROR) {
    switch (error->code) {
      case WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE:
      case WEBKIT_POLICY_ERROR_CANNOT_SHOW_MIME_TYPE:
        return std::nullopt;
      case WEBKIT_POLICY_ERROR_CANNOT_SHOW_URI: return kUnknownProtocol;
      default: return kDownloadFailure;
    }
  }
  if (error->domain == G_IO_ERROR) {
    switch (error->code) {
      case G_IO_ERROR_CANCELLED: return std::nullopt;
      case G_IO_ERROR_TIMED_OUT: return kConnectionTimeout;
      case G_IO_ERROR_NOT_FOUND: return kResourceNotFound;
      case G_IO_ERROR_CONNECTION_REFUSED:
      case G_IO_ERROR_HOST_UNREACHABLE:
      case G_IO_ERROR_NETWORK_UNREACHABLE:
        return kCannotConnect;
      default: return kDownloadFailure;
    }
  }
  // A name that does not resolve is a page that is not found.
  if (error->domain == G_RESOLVER_ERROR) return kResourceNotFound;
  return kDownloadFailure;
}

std::vector<DWORD> CertificateProblemsOf(GTlsCertificateFlags errors) {
  std::vector<DWORD> problems;
  if (errors & (G_TLS_CERTIFICATE_EXPIRED | G_TLS_CERTIFICATE_NOT_ACTIVATED))
    problems.push_back(ERROR_INTERNET_SEC_CERT_DATE_INVALID);
  if (errors & G_TLS_CERTIFICATE_BAD_IDENTITY) problems.push_back(ERROR_INTERNET_SEC_CERT_CN_INVALID);
  if (errors & G_TLS_CERTIFICATE_UNKNOWN_CA) problems.push_back(ERROR_INTERNET_INVALID_CA);
  if (errors & G_TLS_CERTIFICATE_REVOKED) problems.push_back(kRevoked);
  const int known = G_TLS_CERTIFICATE_EXPIRED | G_TLS_CERTIFICATE_NOT_ACTIVATED | G_TLS_CERTIFICATE_BAD_IDENTITY |
                    G_TLS_CERTIFICATE_UNKNOWN_CA | G_TLS_CERTIFICATE_REVOKED;
  if ((errors & ~known) != 0 || problems.empty()) problems.push_back(kInvalidCertificate);
  return problems;
}

}  // namespace gtkui
