// The import of JW_CAD parts files (".jwk"): the lines, arcs, points and texts of the file become
// one group, which CreateParts turns into a parts-library item.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "interchange/JwcReaderBase.h"

class MCadParts;
class MCadView;
class MGroupShape;

class MJWKReader : public MJWCReaderBase {
public:
    MJWKReader();
    // Deletes a group still held.
    ~MJWKReader() override;

    // Reads the file into a new group (an earlier one is deleted). 0 with message 62700 when the
    // file cannot be read or is damaged (counts or addresses that do not fit the file), 62800 when
    // it is no JW_CAD parts file. A refused file yields no group. A scale or reference position
    // that cannot be used is replaced by its default; that and records left out are told.
    // The pens are the caller's (SetPenSettings); the reader does not ask for them.
    int Read(const std::string& path);
    int ReadBytes(std::string_view bytes);

    // Valid shapes join the group (made with the first one); invalid ones are deleted.
    void AddShape(MCadShape* shape, int layer) override;
    double GetUnitScale() const override { return m_unitScale; }

    // A new part named name holding a copy of the group, its base point placed by the file's
    // reference position codes; keep-size 1 and the unit scale as the registered scale. The icon
    // is drawn at paper scale 1 on a view of its own (the caller's view and document stay as they
    // are); view gives the screen resolution. Null when no group was read.
    MCadParts* CreateParts(MCadView* view, const CString& name);

    MGroupShape* GetGroup() const { return m_group.get(); }
    double m_refX = 0.0;
    double m_refY = 0.0;
    double m_unitScale = 1.0;

private:
    int Refuse(UINT id);
    // The reference codes and the unit scale of the settings values (values[n] for token n, the
    // first present of them read, given in all), each replaced by its default where it cannot be
    // used.
    void TakePlacement(const double* values, int present, std::size_t given);

    std::unique_ptr<MGroupShape> m_group;
};
