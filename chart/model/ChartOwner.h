#pragma once
// What a chart object needs of the document that owns it: the change
// notification, the collections by id, the settings new elements take and
// the answers only the drawing can give.
#include <cstdint>

namespace lumigra {

class LgCollection;
class DrawingQueries;

class ChartOwner {
public:
    // Every change of a chart object: modified, and one repaint request.
    virtual void notifyChange() = 0;
    virtual void setModified(bool modified) = 0;
    virtual LgCollection* collection(int id) const = 0;
    virtual int32_t lowerBound() const = 0;
    virtual int32_t maxElements() const = 0;
    virtual bool monochrome() const = 0;
    // Measuring members (a label's size, a position on an axis).
    virtual DrawingQueries& drawingQueries() = 0;

protected:
    ~ChartOwner() = default;
};

} // namespace lumigra
