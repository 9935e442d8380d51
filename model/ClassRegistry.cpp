#include "model/ClassRegistry.h"

#include "model/Dib.h"
#include "model/helpers/ObArray.h"
#include "model/shapes/AngleShape.h"
#include "model/shapes/ArcShape.h"
#include "model/shapes/BalloonShape.h"
#include "model/shapes/BitmapShape.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/CircleShape.h"
#include "model/shapes/EllipseShape.h"
#include "model/shapes/FanShape.h"
#include "model/shapes/GroupShape.h"
#include "model/shapes/LShapeArray.h"
#include "model/shapes/LabelShape.h"
#include "model/shapes/LabelShapeBase.h"
#include "model/shapes/LineShape.h"
#include "model/shapes/MarkShape.h"
#include "model/shapes/MultiTextShape.h"
#include "model/shapes/PackShape.h"
#include "model/shapes/PolygonShape.h"
#include "model/shapes/RadiusShape.h"
#include "model/shapes/RectShape.h"
#include "model/shapes/ShapeArray.h"
#include "model/shapes/SizeBaseShape.h"
#include "model/shapes/SizeShape.h"
#include "model/shapes/SplineLoopShape.h"
#include "model/shapes/SplineShape.h"
#include "model/shapes/TextShape.h"
#include "model/shapes/TextShapeBase.h"
#include "platform/Object.h"

void RegisterModelClasses() {
    // AfxRegisterClass ignores classes it already knows, so repeated calls are harmless.
    AfxRegisterClass(RUNTIME_CLASS(MObArray));
    AfxRegisterClass(RUNTIME_CLASS(MCadShape));
    AfxRegisterClass(RUNTIME_CLASS(MShapeArray));
    AfxRegisterClass(RUNTIME_CLASS(MShapeArray4Group));
    AfxRegisterClass(RUNTIME_CLASS(MLShapeArray));
    AfxRegisterClass(RUNTIME_CLASS(MLineShape));
    AfxRegisterClass(RUNTIME_CLASS(MCircleShape));
    AfxRegisterClass(RUNTIME_CLASS(MCircleArcShape));
    AfxRegisterClass(RUNTIME_CLASS(MCircleFanShape));
    AfxRegisterClass(RUNTIME_CLASS(MEllipseShape));
    AfxRegisterClass(RUNTIME_CLASS(MRectShape));
    AfxRegisterClass(RUNTIME_CLASS(MPolygonShape));
    AfxRegisterClass(RUNTIME_CLASS(MGroupShape));
    AfxRegisterClass(RUNTIME_CLASS(MSplineShape));
    AfxRegisterClass(RUNTIME_CLASS(MSplineLoopShape));
    AfxRegisterClass(RUNTIME_CLASS(MMarkShape));
    AfxRegisterClass(RUNTIME_CLASS(MDib));
    AfxRegisterClass(RUNTIME_CLASS(MBitmapShape));
    AfxRegisterClass(RUNTIME_CLASS(MPackShape));
    AfxRegisterClass(RUNTIME_CLASS(MTextShapeBase));
    AfxRegisterClass(RUNTIME_CLASS(MTextShape));
    AfxRegisterClass(RUNTIME_CLASS(MMultiTextShape));
    AfxRegisterClass(RUNTIME_CLASS(MSizeBaseShape));
    AfxRegisterClass(RUNTIME_CLASS(MSizeShape));
    AfxRegisterClass(RUNTIME_CLASS(MRadiusSizeShape));
    AfxRegisterClass(RUNTIME_CLASS(MDiameterSizeShape));
    AfxRegisterClass(RUNTIME_CLASS(MAngleShape));
    AfxRegisterClass(RUNTIME_CLASS(MLabelShapeBase));
    AfxRegisterClass(RUNTIME_CLASS(MLabelShape));
    AfxRegisterClass(RUNTIME_CLASS(MBalloonShape));
}
