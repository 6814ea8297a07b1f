#include "resizable/SystemMessageFont.h"

#include "foundation/WindowsError.h"

LOGFONTW SystemMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  CheckLastError(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  return metrics.lfMessageFont;
}
