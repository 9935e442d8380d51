#include "model/ClassRegistry.h"

#include "model/Dib.h"
#include "model/helpers/ObArray.h"
#include "model/shapes/dimension/AngleShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/picture/BitmapShape.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/containers/LShapeArray.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/annotation/LabelShapeBase.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/containers/PackShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/dimension/RadiusShape.h"
#include "model/shapes/lines/RectShape.h"
#include "model/shapes/containers/ShapeArray.h"
#include "model/shapes/dimension/SizeBaseShape.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/text/TextShape.h"
#include "model/shapes/text/TextShapeBase.h"
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
