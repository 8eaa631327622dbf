// The QXSource library: typed arrays, storages of named variables, series and
// variable types. Include this header for everything, or any single header.
#ifndef QXSOURCE_H
#define QXSOURCE_H

#include "QXArguments.h"
#include "QXError.h"
#include "QXList.h"
#include "QXLock.h"
#include "QXNumberText.h"
#include "QXPointer.h"
#include "QXProgress.h"
#include "QXSaveError.h"

#include "QXCharArray.h"
#include "QXDoubleArray.h"
#include "QXFloatArray.h"
#include "QXIntArray.h"
#include "QXShortIntArray.h"
#include "QXUCharArray.h"
#include "QXUShortIntArray.h"
#include "QXArrayArithmetic.h"
#include "QXArrayConversion.h"
#include "QXArrayResize.h"
#include "QXDoubleArrayRegion.h"
#include "QXIndex.h"

#include "QXDataContainer.h"
#include "QXDataFile.h"
#include "QXDataStorage.h"
#include "QXEndianSwap.h"
#include "QXFile.h"
#include "QXLiveUpdate.h"
#include "QXLiveUpdateC.h"
#include "QXMatlabDataFile.h"

#include "QXColor.h"
#include "QXPoint.h"
#include "QXRegion.h"
#include "QXShiftScale.h"
#include "QXPlane3D.h"
#include "QXStringList.h"
#include "QXAudio.h"
#include "QXPointCollection2D.h"
#include "QXPointCollection3D.h"
#include "QXMesh1DGrid.h"
#include "QXMesh2DGrid.h"
#include "QXMesh2D.h"
#include "QXMask.h"

#include "QXBitmap2D.h"
#include "QXPlot1D.h"
#include "QXPath2D.h"
#include "QXPath3D.h"

#include "QXMesh3DGrid.h"
#include "QXMesh3D.h"
#include "QXVectorField2D.h"
#include "QXVectorField3D.h"

#endif
