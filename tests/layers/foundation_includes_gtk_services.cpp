// Planted: foundation reaching into the GTK services by the platform folder's path.
#include "gtk/WindowPresenter.h"
