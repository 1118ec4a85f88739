#include <fstream>
#include <iterator>

#include "kinds/Resources.h"
#include "model/Builders.h"
#include "model/RecordExchange.h"

namespace lumigra {

const MemberTable& LgPictureHolder::members() const
{
    using P = LgPictureHolder;
    namespace id = dispid::pictureHolder;
    static const std::vector<Member> own{
        prop<&P::stretch_>("Stretch", id::Stretch),
        {"IsEmpty", id::IsEmpty, MemberKind::Property, VT_BOOL, true,
         [](Dispatchable& d, Args&) { return Variant::fromBool(static_cast<P&>(d).image_.empty()); }, nullptr},
        {"LoadPicture", id::LoadPicture, MemberKind::Method, VT_BOOL, false,
         [](Dispatchable& d, Args& a) {
             auto& p = static_cast<P&>(d);
             std::string file = argText(a[0]);
             std::ifstream in(file, std::ios::binary);
             if (!in)
                 return Variant::fromBool(false);
             std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
             p.image_ = std::move(bytes);
             p.fileName_ = file;
             p.changed();
             return Variant::fromBool(true);
         },
         nullptr, 1},
        {"Clear", id::Clear, MemberKind::Method, VT_EMPTY, false,
         [](Dispatchable& d, Args&) {
             auto& p = static_cast<P&>(d);
             if (!p.image_.empty() || !p.fileName_.empty()) {
                 p.image_.clear();
                 p.fileName_.clear();
                 p.changed();
             }
             return Variant();
         },
         nullptr},
        readOnlyProp<&P::fileName_>("FileName", id::FileName),
    };
    static const MemberTable table{&commonMembers(), &own};
    return table;
}

void LgPictureHolder::exchange(RecordExchange& x)
{
    x.boolean("Stretch=", stretch_, true);
    x.text("FileName=", fileName_, "");
}

void LgPictureHolder::copySettings(LgObject& target)
{
    LgObject::copySettings(target);
    static_cast<LgPictureHolder&>(target).image_ = image_;
}

} // namespace lumigra
