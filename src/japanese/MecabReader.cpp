#include "MecabReader.h"

#include <QDir>
#include <dlfcn.h>
#include <mecab.h>

struct MecabReader::Api {
    decltype(&mecab_new2) create = nullptr;
    decltype(&mecab_destroy) destroy = nullptr;
    decltype(&mecab_sparse_tonode2) parse = nullptr;
    decltype(&mecab_dictionary_info) info = nullptr;
};

namespace {

constexpr const char* kUtf8Dictionary = "/var/lib/mecab/dic/ipadic-utf8";

bool isUtf8Charset(const char* charset) {
    const QByteArray c = QByteArray(charset).toLower();
    return c == "utf-8" || c == "utf8";
}

} // namespace

MecabReader::MecabReader(QByteArray library, QByteArray dictionaryDir)
    : library_(std::move(library)), dictionaryDir_(std::move(dictionaryDir)) {}

MecabReader::~MecabReader() {
    if (tagger_) api_->destroy(static_cast<mecab_t*>(tagger_));
    delete api_;
    if (handle_) dlclose(handle_);
}

bool MecabReader::available() {
    if (!tried_) open();
    return tagger_ != nullptr;
}

void MecabReader::open() {
    tried_ = true;
    handle_ = dlopen(library_.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) return;
    api_ = new Api;
    api_->create = reinterpret_cast<decltype(&mecab_new2)>(dlsym(handle_, "mecab_new2"));
    api_->destroy = reinterpret_cast<decltype(&mecab_destroy)>(dlsym(handle_, "mecab_destroy"));
    api_->parse =
        reinterpret_cast<decltype(&mecab_sparse_tonode2)>(dlsym(handle_, "mecab_sparse_tonode2"));
    api_->info =
        reinterpret_cast<decltype(&mecab_dictionary_info)>(dlsym(handle_, "mecab_dictionary_info"));
    if (!api_->create || !api_->destroy || !api_->parse || !api_->info) return;

    // The configured dictionary when it is UTF-8, else the UTF-8 IPA dictionary.
    QList<QByteArray> tries;
    if (!dictionaryDir_.isEmpty())
        tries << "-d " + dictionaryDir_;
    else
        tries << QByteArray("") << QByteArray("-d ") + kUtf8Dictionary;
    for (const QByteArray& args : tries) {
        if (args.startsWith("-d ") && !QDir(QString::fromLocal8Bit(args.mid(3))).exists()) continue;
        mecab_t* tagger = api_->create(args.constData());
        if (!tagger) continue;
        const mecab_dictionary_info_t* info = api_->info(tagger);
        if (info && isUtf8Charset(info->charset)) {
            tagger_ = tagger;
            return;
        }
        api_->destroy(tagger);
    }
}

std::vector<Morpheme> MecabReader::analyse(QStringView text) {
    std::vector<Morpheme> out;
    if (!available() || text.isEmpty()) return out;
    const QByteArray bytes = text.toUtf8();
    const mecab_node_t* node =
        api_->parse(static_cast<mecab_t*>(tagger_), bytes.constData(), std::size_t(bytes.size()));
    const char* const base = bytes.constData();
    const char* at = base; // where the next node's stretch (with its spaces) starts
    int column = 0;
    for (; node; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
        Morpheme m;
        const int spaces = int(node->rlength) - int(node->length);
        m.spaceBefore = spaces > 0;
        column += int(QString::fromUtf8(at, qMax(spaces, 0)).size());
        m.surface = QString::fromUtf8(node->surface, node->length);
        m.start = column;
        column += int(m.surface.size());
        m.end = column;
        at = node->surface + node->length;
        const QStringList fields = QString::fromUtf8(node->feature).split(u',');
        m.pos1 = fields.value(0);
        m.pos2 = fields.value(1);
        // The reading, not the pronunciation: は stays ハ and is typed "ha".
        const QString reading = fields.value(7);
        if (reading != u"*") m.reading = reading;
        out.push_back(std::move(m));
    }
    return out;
}
