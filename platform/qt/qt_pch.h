#pragma once
// Precompiled for the Qt files: the Widgets headers are most of their build time.
#include <QtWidgets/QtWidgets>
