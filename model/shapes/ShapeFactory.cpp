#include "model/shapes/ShapeFactory.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <istream>
#include <ostream>

#include "model/helpers/TextStream.h"
#include "model/shapes/dimension/AngleShape.h"
#include "model/shapes/curves/ArcShape.h"
#include "model/shapes/annotation/BalloonShape.h"
#include "model/shapes/picture/BitmapShape.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/TextReadLosses.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/curves/EllipseShape.h"
#include "model/shapes/curves/FanShape.h"
#include "model/shapes/containers/GroupShape.h"
#include "model/shapes/annotation/LabelShape.h"
#include "model/shapes/lines/LineShape.h"
#include "model/shapes/lines/MarkShape.h"
#include "model/shapes/text/MultiTextShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/dimension/RadiusShape.h"
#include "model/shapes/lines/RectShape.h"
#include "model/shapes/dimension/SizeShape.h"
#include "model/shapes/curves/SplineLoopShape.h"
#include "model/shapes/curves/SplineShape.h"
#include "model/shapes/text/TextShape.h"
#include "platform/Exceptions.h"

namespace {

template <class T>
MCadShape* Make() {
    return new T;
}

constexpr int kMaxTypeId = 24;

const std::vector<MShapeType> kShapeTypes = {
    {kShapeLine, "LINE"},         {kShapeCircle, "CIRCLE"},
    {kShapeArc, "ARC"},           {kShapeFan, "FAN"},
    {kShapeEllipse, "ELLIPSE"},   {kShapeRect, "RECT"},
    {kShapePolygon, "POLYGON"},   {kShapeGroup, "GROUP"},
    {kShapeSpline, "SPLINE"},     {kShapeSplineLoop, "SPLINELOOP"},
    {kShapeSize, "SIZE"},         {kShapeRadius, "RADIUS"},
    {kShapeDiameter, "DIAMETER"}, {kShapeAngle, "ANGLE"},
    {kShapeText, "TEXT"},         {kShapeMultiText, "MULTITEXT"},
    {kShapeMark, "MARK"},         {kShapeOle2, "OLE2"},
    {kShapeBitmap, "BITMAP"},     {kShapeLabel, "LABEL"},
    {kShapeBalloon, "BALLOON"},
};

// The model's own classes. OLE2 belongs to the document layer, which registers it with SetCreator;
// the rows of classes not written yet stay empty.
std::array<MShapeCreator, kMaxTypeId + 1>& Creators() {
    static std::array<MShapeCreator, kMaxTypeId + 1> creators = [] {
        std::array<MShapeCreator, kMaxTypeId + 1> c{};
        c[kShapeLine] = &Make<MLineShape>;
        c[kShapeCircle] = &Make<MCircleShape>;
        c[kShapeArc] = &Make<MCircleArcShape>;
        c[kShapeFan] = &Make<MCircleFanShape>;
        c[kShapeEllipse] = &Make<MEllipseShape>;
        c[kShapeRect] = &Make<MRectShape>;
        c[kShapePolygon] = &Make<MPolygonShape>;
        c[kShapeGroup] = &Make<MGroupShape>;
        c[kShapeSpline] = &Make<MSplineShape>;
        c[kShapeSplineLoop] = &Make<MSplineLoopShape>;
        c[kShapeSize] = &Make<MSizeShape>;
        c[kShapeRadius] = &Make<MRadiusSizeShape>;
        c[kShapeDiameter] = &Make<MDiameterSizeShape>;
        c[kShapeAngle] = &Make<MAngleShape>;
        c[kShapeText] = &Make<MTextShape>;
        c[kShapeMultiText] = &Make<MMultiTextShape>;
        c[kShapeMark] = &Make<MMarkShape>;
        c[kShapeBitmap] = &Make<MBitmapShape>;
        c[kShapeLabel] = &Make<MLabelShape>;
        c[kShapeBalloon] = &Make<MBalloonShape>;
        return c;
    }();
    return creators;
}

bool IsKnownId(int id) {
    return std::any_of(kShapeTypes.begin(), kShapeTypes.end(),
                       [id](const MShapeType& t) { return t.id == id; });
}

int g_textNesting = 0;

}  // namespace

const std::vector<MShapeType>& GetShapeTypes() {
    return kShapeTypes;
}

const char* GetShapeKeyword(int id) {
    const short low = static_cast<short>(id & 0xFFFF);
    for (const MShapeType& t : kShapeTypes)
        if (t.id == low) return t.keyword;
    return nullptr;
}

short GetShapeTypeId(std::string_view keyword) {
    for (const MShapeType& t : kShapeTypes)
        if (keyword == t.keyword) return t.id;
    return 0;
}

MCadShapeFactory::~MCadShapeFactory() {
    for (MCadShape* p : m_prototypes)
        delete p;
}

void MCadShapeFactory::Insert(MCadShape* prototype) {
    const short id = prototype->GetTypeId();
    auto it = std::find_if(m_prototypes.begin(), m_prototypes.end(),
                           [id](const MCadShape* p) { return p->GetTypeId() >= id; });
    if (it != m_prototypes.end() && (*it)->GetTypeId() == id) {
        delete *it;
        *it = prototype;
    } else {
        m_prototypes.insert(it, prototype);
    }
}

void MCadShapeFactory::Build() {
    if (!m_prototypes.empty()) return;
    for (const MShapeType& t : kShapeTypes)
        if (MShapeCreator create = Creators()[t.id]) Insert(create());
}

int MCadShapeFactory::GetCount() {
    Build();
    return static_cast<int>(m_prototypes.size());
}

MCadShape* MCadShapeFactory::GetAt(int index) {
    Build();
    if (index < 0 || index >= static_cast<int>(m_prototypes.size())) AfxThrowInvalidArgException();
    return m_prototypes[static_cast<std::size_t>(index)];
}

MCadShape* MCadShapeFactory::CreateById(int id) {
    Build();
    const short low = static_cast<short>(id & 0xFFFF);
    for (MCadShape* p : m_prototypes)
        if (p->GetTypeId() == low) return p->CreateNew();
    return nullptr;
}

MCadShape* MCadShapeFactory::CreateByName(std::string_view keyword) {
    // Every prototype's name is its id's keyword: the table is searched without asking each shape
    // for a new copy of its name, which reading a drawing would do for every shape it holds.
    const short id = GetShapeTypeId(keyword);
    return id ? CreateById(id) : nullptr;
}

void MCadShapeFactory::SetCreator(short id, MShapeCreator creator) {
    if (!IsKnownId(id)) AfxThrowInvalidArgException();
    Creators()[id] = creator;
    if (m_prototypes.empty()) return;  // built later, from the creators known then
    if (creator) {
        Insert(creator());
    } else {
        auto it = std::find_if(m_prototypes.begin(), m_prototypes.end(),
                               [id](const MCadShape* p) { return p->GetTypeId() == id; });
        if (it != m_prototypes.end()) {
            delete *it;
            m_prototypes.erase(it);
        }
    }
}

MCadShapeFactory& GetShapeFactory() {
    static MCadShapeFactory factory;
    return factory;
}

void WriteShapeText(CDocument* doc, std::ostream& os, const MCadShape* shape) {
    if (!shape) return;
    os << shape->GetTypeName() << '\n';
    shape->WriteText(doc, os);
}

std::string ReadShapeKeyword(std::istream& is) {
    while (is.good() && is.peek() != 0) {
        std::string line;
        ReadTextString(is, line, FALSE);
        if (is.fail() && line.empty()) break;
        if (!line.empty() && !std::isspace(static_cast<unsigned char>(line[0]))) return line;
    }
    return {};
}

MCadShape* ReadShapeText(CDocument* doc, std::istream& is, const std::string& keyword) {
    if (keyword.empty()) return nullptr;
    MCadShape* shape = GetShapeFactory().CreateByName(keyword);
    if (shape) shape->ReadText(doc, is);
    if (is.fail() || is.bad()) {
        // A number out of range or a damaged line: told, unless the file ended or broke off there.
        MTextReadLosses* losses = MTextReadLosses::Current();
        if (shape && losses && !is.bad() && !is.eof()) losses->DropShape(keyword);
        delete shape;
        return nullptr;
    }
    return shape;
}

MCadShape* ReadShapeText(CDocument* doc, std::istream& is) {
    return ReadShapeText(doc, is, ReadShapeKeyword(is));
}

void ResetTextNesting() {
    g_textNesting = 0;
}

MTextNestingGuard::MTextNestingGuard() {
    ++g_textNesting;
}
MTextNestingGuard::~MTextNestingGuard() {
    if (g_textNesting > 0) --g_textNesting;
}
bool MTextNestingGuard::Exceeded() const {
    return g_textNesting > kMaxGroupNesting;
}
bool MTextNestingGuard::AtLimit() const {
    return g_textNesting >= kMaxGroupNesting;
}
