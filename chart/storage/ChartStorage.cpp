#include "storage/ChartStorage.h"

#include <gsf/gsf-doc-meta-data.h>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-meta-names.h>
#include <gsf/gsf-msole-utils.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

#include "document/ChartDocument.h"
#include "document/ChartDraft.h"
#include "kinds/Resources.h"
#include "lumigra/Guids.h"
#include "model/Collection.h"
#include "platform/UiService.h"

namespace lumigra {

namespace {

constexpr uint32_t PictureMagic = 0x0000746C; // "lt"
constexpr char ContentsStream[] = "Lumigra_Contents";
constexpr char BackPictureStream[] = "BackPicture";
constexpr char SummaryStream[] = "\005SummaryInformation";

void show(const char* text) { platform::MsgBox(text, platform::vbExclamation | platform::vbSystemModal, "Lumigra"); }

void initGsf()
{
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

// Releases a GObject at the end of a scope.
template <class T>
struct GRef {
    T* p = nullptr;
    explicit GRef(T* object) : p(object) {}
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    ~GRef()
    {
        if (p)
            g_object_unref(p);
    }
};

std::string holderStreamName(int32_t position) { return "Picture" + std::to_string(position); }

void putU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t getU32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// The class identifier in its stored byte order.
void classIdBytes(const platform::com::Guid& g, guint8 out[16])
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<guint8>(g.data1 >> (8 * i));
    out[4] = static_cast<guint8>(g.data2);
    out[5] = static_cast<guint8>(g.data2 >> 8);
    out[6] = static_cast<guint8>(g.data3);
    out[7] = static_cast<guint8>(g.data3 >> 8);
    for (int i = 0; i < 8; ++i)
        out[8 + i] = g.data4[static_cast<size_t>(i)];
}

bool writeStream(GsfOutfile* storage, const char* name, const std::vector<uint8_t>& bytes)
{
    GRef<GsfOutput> stream(gsf_outfile_new_child(storage, name, FALSE));
    if (!stream.p)
        return false;
    bool ok = bytes.empty() || gsf_output_write(stream.p, bytes.size(), bytes.data());
    return gsf_output_close(stream.p) && ok;
}

void insertText(GsfDocMetaData* meta, const char* name, const std::string& text)
{
    auto* value = g_new0(GValue, 1);
    g_value_init(value, G_TYPE_STRING);
    g_value_set_string(value, text.c_str());
    gsf_doc_meta_data_insert(meta, g_strdup(name), value);
}

bool writeSummary(GsfOutfile* storage, const std::string& author)
{
    GRef<GsfOutput> stream(gsf_outfile_new_child(storage, SummaryStream, FALSE));
    if (!stream.p) {
        show("CreateStream failed");
        return false;
    }
    GRef<GsfDocMetaData> meta(gsf_doc_meta_data_new());
    insertText(meta.p, GSF_META_NAME_TITLE, "Lumigra Works Graph Component Private Data");
    insertText(meta.p, GSF_META_NAME_SUBJECT, "Lumigra Works Graph Component Version 1.10");
    insertText(meta.p, GSF_META_NAME_CREATOR, author);
    bool ok = gsf_doc_meta_data_write_to_msole(meta.p, stream.p, FALSE);
    ok = gsf_output_close(stream.p) && ok;
    if (!ok)
        show("WriteToStream failed");
    return ok;
}

std::optional<std::vector<uint8_t>> readStream(GsfInfile* storage, const char* name)
{
    GsfInput* stream = gsf_infile_child_by_name(storage, name);
    if (!stream)
        return std::nullopt;
    GRef<GsfInput> guard(stream);
    gsf_off_t size = gsf_input_size(stream);
    if (size < 0)
        return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !gsf_input_read(stream, bytes.size(), bytes.data()))
        return std::nullopt;
    return bytes;
}

} // namespace

std::vector<uint8_t> pictureStream(const std::vector<uint8_t>& image)
{
    std::vector<uint8_t> out;
    out.reserve(8 + image.size());
    putU32(out, PictureMagic);
    putU32(out, static_cast<uint32_t>(image.size()));
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

std::vector<uint8_t> pictureFromStream(const std::vector<uint8_t>& stream)
{
    if (stream.size() < 8 || getU32(stream.data()) != PictureMagic)
        return {};
    uint32_t size = getU32(stream.data() + 4);
    if (size > stream.size() - 8)
        return {};
    return std::vector<uint8_t>(stream.begin() + 8, stream.begin() + 8 + size);
}

std::vector<uint8_t> saveChartStorage(ChartDocument& control)
{
    initGsf();
    std::vector<uint8_t> text = control.saveObjectText();
    if (text.empty())
        return {};
    GRef<GsfOutput> memory(gsf_output_memory_new());
    GsfOutfile* storage = gsf_outfile_msole_new(memory.p);
    if (!storage) {
        show("XYグラフを初期化できません");
        return {};
    }
    GRef<GsfOutfile> storageGuard(storage);
    guint8 clsid[16];
    classIdBytes(CLSID_Lumigra, clsid);
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(storage), clsid);

    bool ok = writeStream(storage, ContentsStream, text);
    auto* back = static_cast<LgPictureHolder*>(control.backPicture_.get());
    ok = ok && writeStream(storage, BackPictureStream, pictureStream(back ? back->image() : std::vector<uint8_t>{}));
    if (LgCollection* holders = control.collection(cidPictureHolders))
        for (int32_t i = 0; ok && i < holders->count(); ++i)
            ok = writeStream(storage, holderStreamName(i).c_str(),
                             pictureStream(static_cast<LgPictureHolder*>(holders->at(i))->image()));
    if (!ok) {
        show("XYグラフを初期化できません");
        return {};
    }
    if (!writeSummary(storage, control.displayName_))
        return {};
    // Closing the storage closes the memory sink under it.
    bool closed = gsf_output_close(GSF_OUTPUT(storage));
    if (!gsf_output_is_closed(memory.p))
        closed = gsf_output_close(memory.p) && closed;
    if (!closed) {
        show("XYグラフを初期化できません");
        return {};
    }
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory.p));
    gsf_off_t size = gsf_output_size(memory.p);
    return std::vector<uint8_t>(bytes, bytes + size);
}

StorageRestore restoreChartStorage(ChartDocument& control, const uint8_t* bytes, size_t size)
{
    initGsf();
    if (!bytes || size == 0)
        return StorageRestore::NotStorage;
    GRef<GsfInput> memory(gsf_input_memory_new(bytes, static_cast<gsf_off_t>(size), FALSE));
    GError* error = nullptr;
    GsfInfile* storage = gsf_infile_msole_new(memory.p, &error);
    if (error)
        g_error_free(error);
    if (!storage)
        return StorageRestore::NotStorage;
    GRef<GsfInfile> storageGuard(storage);

    std::optional<std::vector<uint8_t>> text = readStream(storage, ContentsStream);
    if (!text) {
        show("XYグラフを再生できません");
        return StorageRestore::Failed;
    }
    // Read beside the live chart, which takes it over only when all is in.
    ChartDraft draft(control);
    if (!draft.readObjectText(text->data(), text->size(), false))
        return StorageRestore::Failed;
    ChartDocument& read = draft.document();
    // Pictures travel beside the text; the holders exist once it is read.
    if (auto back = readStream(storage, BackPictureStream); back && read.backPicture_)
        static_cast<LgPictureHolder*>(read.backPicture_.get())->setImageRaw(pictureFromStream(*back));
    if (LgCollection* holders = read.collection(cidPictureHolders))
        for (int32_t i = 0; i < holders->count(); ++i)
            if (auto stream = readStream(storage, holderStreamName(i).c_str()))
                static_cast<LgPictureHolder*>(holders->at(i))->setImageRaw(pictureFromStream(*stream));
    draft.commit();
    return StorageRestore::Restored;
}

} // namespace lumigra

namespace lumigra {

bool opensAsStorage(const uint8_t* bytes, size_t size)
{
    initGsf();
    if (!bytes || size == 0)
        return false;
    GRef<GsfInput> memory(gsf_input_memory_new(bytes, static_cast<gsf_off_t>(size), FALSE));
    GError* error = nullptr;
    GsfInfile* storage = gsf_infile_msole_new(memory.p, &error);
    if (error)
        g_error_free(error);
    if (!storage)
        return false;
    g_object_unref(storage);
    return true;
}

} // namespace lumigra
