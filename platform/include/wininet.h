// Status codes of the internet client that the browser reports for certificate problems.
#pragma once

#define ERROR_INTERNET_SEC_CERT_DATE_INVALID 12037
#define ERROR_INTERNET_SEC_CERT_CN_INVALID 12038
#define ERROR_INTERNET_INVALID_CA 12045
#define ERROR_INTERNET_SEC_CERT_NO_REV 12056
#define ERROR_INTERNET_SEC_CERT_REV_FAILED 12057
