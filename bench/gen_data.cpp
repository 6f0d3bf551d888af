// Deterministic benchmark data generator for the Orvex batch-mode benchmarks.
//
//   orvex_bench_gen text  OUT SIZE_BYTES   mixed French UTF-8 text, exactly SIZE_BYTES bytes
//   orvex_bench_gen line  OUT SIZE_BYTES   the same text joined into one line
//   orvex_bench_gen lines OUT COUNT        COUNT lines of mixed-case words for sorting
//
// Output depends only on the arguments: a fixed-seed splitmix64 generator is
// used instead of <random> distributions, whose results differ between
// standard library versions.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform-ish integer in [0, n); n must be > 0.
    std::uint32_t below(std::uint32_t n)
    {
        return static_cast<std::uint32_t>(((next() >> 32) * n) >> 32);
    }

    // Integer in [lo, hi].
    std::uint32_t range(std::uint32_t lo, std::uint32_t hi) { return lo + below(hi - lo + 1); }

    // True with probability pct/100.
    bool chance(std::uint32_t pct) { return below(100) < pct; }

    template <std::size_t N>
    std::string_view pick(const std::string_view (&arr)[N])
    {
        return arr[below(static_cast<std::uint32_t>(N))];
    }

private:
    std::uint64_t state_;
};

// Buffered writer: accumulates output in a large buffer and writes big blocks.
class Writer {
public:
    explicit Writer(std::FILE* f) : f_(f) { buf_.reserve(kBlock + 4096); }

    void put(std::string_view s)
    {
        buf_.append(s);
        if (buf_.size() >= kBlock)
            flush();
    }

    bool flush()
    {
        if (!buf_.empty()) {
            if (std::fwrite(buf_.data(), 1, buf_.size(), f_) != buf_.size())
                ok_ = false;
            buf_.clear();
        }
        return ok_;
    }

    bool ok() const { return ok_; }

private:
    static constexpr std::size_t kBlock = 8u << 20;
    std::FILE* f_;
    std::string buf_;
    bool ok_ = true;
};

// Words carrying the accented letters handled by the accent-removal tool
// (à â ä è é ê ë î ï ô ö ù û ü ÿ), plus a few other non-ASCII characters.
constexpr std::string_view kAccented[] = {
    "été", "élève", "à", "où", "naïve", "garçon", "Noël", "fenêtre", "déjà",
    "château", "forêt", "hôtel", "île", "maïs", "père", "mère", "frère",
    "très", "après", "voilà", "ça", "français", "rêve", "goût", "août",
    "sûr", "dû", "aïeul", "naïf", "canoë", "ambiguë", "Hélène", "crème",
    "brûlée", "fête", "tête", "boîte", "leçon", "déçu", "Zoë", "L'Haÿ-les-Roses",
    "Aÿ", "cœur", "bœuf", "Ève", "École", "mûre", "piqûre", "drôle", "côte",
    "bientôt", "où", "Müller", "Löwe", "über", "coïncidence", "Noëlle", "ouïe",
    "événement", "épée", "là-bas", "extrême", "théâtre", "pâte", "âme",
};

constexpr std::string_view kPlain[] = {
    "le", "la", "les", "de", "des", "du", "un", "une", "et", "est", "dans",
    "pour", "avec", "sur", "par", "pas", "plus", "tout", "nous", "vous", "ils",
    "elle", "il", "on", "qui", "que", "ne", "se", "au", "aux", "son", "sa",
    "maison", "jardin", "soleil", "matin", "soir", "ville", "rue", "livre",
    "table", "chat", "chien", "petit", "grand", "rouge", "bleu", "vert",
    "temps", "monde", "homme", "femme", "enfant", "jour", "nuit", "eau", "feu",
    "terre", "air", "Paris", "Lyon", "Marseille", "Bordeaux", "route", "train",
    "voiture", "porte", "main", "yeux", "amour", "ami", "travail", "musique",
    "histoire", "pain", "vin", "fromage", "mer", "montagne", "village",
    "chanson", "lettre", "papier", "crayon", "ordinateur", "fichier", "texte",
    "ligne", "mot", "phrase", "Jean", "Marie", "Pierre", "Sophie", "Louis",
    "bonjour", "merci", "toujours", "jamais", "souvent", "demain", "hier",
    "rapide", "lent", "beau", "belle", "nouveau", "vieux", "jeune", "heureux",
};

constexpr std::string_view kPunct[] = {",", ",", ",", ";", ":", " :", " !", " ?", "…", "."};
constexpr std::string_view kEnd[] = {".", ".", ".", "!", "?", "...", " !", " ?", ""};

// ASCII vocabulary for the sorting data.
constexpr std::string_view kSortWords[] = {
    "apple", "banana", "cherry", "delta", "echo", "foxtrot", "garden", "harbor",
    "island", "jungle", "kernel", "lemon", "mango", "needle", "orange", "pepper",
    "quartz", "river", "silver", "tiger", "umbrella", "violet", "window",
    "xenon", "yellow", "zebra", "alpha", "beta", "gamma", "omega", "editor",
    "buffer", "cursor", "line", "text", "file", "sort", "the", "a", "an", "of",
    "and", "to", "in", "is", "it", "maison", "jardin", "soleil", "chat",
    "chien", "livre", "table", "rouge", "bleu", "vert", "Paris", "Lyon",
    "Zurich", "Alice", "Bob", "Carol", "Dave", "report", "summary", "todo",
    "fixme", "version", "release", "item", "entry", "record", "value", "key",
};

void append_upper_first(std::string& line, std::string_view w)
{
    std::size_t start = line.size();
    line.append(w);
    char& c = line[start];
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
}

void append_ws(std::string& line, Rng& rng, std::uint32_t max)
{
    std::uint32_t n = rng.range(1, max);
    for (std::uint32_t i = 0; i < n; ++i)
        line.push_back(rng.chance(70) ? ' ' : '\t');
}

// One line of French-ish text (without the line break); at most ~170 bytes.
void make_text_line(std::string& line, Rng& rng)
{
    line.clear();
    std::uint32_t r = rng.below(100);
    if (r < 7)
        return;  // empty line
    if (r < 9) {  // whitespace only
        append_ws(line, rng, 6);
        return;
    }
    std::uint32_t target;
    if (r < 30)
        target = rng.range(1, 30);
    else if (r < 85)
        target = rng.range(30, 90);
    else
        target = rng.range(90, 120);

    if (rng.chance(15)) {  // indentation
        if (rng.chance(60))
            line.append(rng.range(1, 8), ' ');
        else
            line.append(rng.range(1, 2), '\t');
    }

    bool first = true;
    while (line.size() < target) {
        if (!first)
            line.append(rng.chance(3) ? "  " : " ");
        std::uint32_t k = rng.below(100);
        std::string_view w;
        if (k < 30)
            w = rng.pick(kAccented);
        else if (k < 95)
            w = rng.pick(kPlain);
        else {
            char num[16];
            auto res = std::to_chars(num, num + sizeof num, rng.below(100000));
            line.append(num, res.ptr);
            first = false;
            continue;
        }
        if (first || rng.chance(4))
            append_upper_first(line, w);
        else if (rng.chance(1)) {
            std::size_t start = line.size();
            line.append(w);
            for (std::size_t i = start; i < line.size(); ++i)
                if (line[i] >= 'a' && line[i] <= 'z')
                    line[i] = static_cast<char>(line[i] - 'a' + 'A');
        } else
            line.append(w);
        if (rng.chance(8))
            line.append(rng.pick(kPunct));
        else if (rng.chance(2)) {
            line.insert(line.size() - w.size(), "« ");
            line.append(" »");
        }
        first = false;
    }
    line.append(rng.pick(kEnd));
    if (rng.chance(10))
        append_ws(line, rng, 4);
}

// Plain ASCII filler of exactly n bytes (used to hit the requested size exactly).
void make_filler(std::string& line, Rng& rng, std::size_t n)
{
    line.clear();
    while (line.size() < n) {
        if (!line.empty())
            line.push_back(' ');
        line.append(rng.pick(kPlain));
    }
    line.resize(n);
    if (n > 0 && line.back() == ' ')
        line.back() = '.';
}

// With one_line, the lines are joined by blanks into a single line ending the file.
bool gen_text(std::FILE* f, std::uint64_t size, bool one_line)
{
    Rng rng(0x4F72766578546578ULL);
    Writer out(f);
    std::string line;
    line.reserve(512);
    std::uint64_t remaining = size;
    while (remaining > 0) {
        if (remaining > 400) {
            make_text_line(line, rng);
            line.push_back('\n');
        } else if (remaining <= 121) {
            make_filler(line, rng, static_cast<std::size_t>(remaining - 1));
            line.push_back('\n');
        } else {
            make_filler(line, rng, 60);
            line.push_back('\n');
        }
        if (one_line && line.size() < remaining)
            line.back() = ' ';
        out.put(line);
        remaining -= line.size();
    }
    return out.flush();
}

void append_sort_word(std::string& line, Rng& rng)
{
    std::size_t start = line.size();
    if (rng.chance(55)) {
        line.append(rng.pick(kSortWords));
    } else {
        std::uint32_t len = rng.range(1, 12);
        for (std::uint32_t i = 0; i < len; ++i)
            line.push_back(static_cast<char>('a' + rng.below(26)));
    }
    std::uint32_t style = rng.below(100);
    if (style < 50)
        return;  // lower case
    if (style < 75) {  // Capitalised
        char& c = line[start];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        return;
    }
    for (std::size_t i = start; i < line.size(); ++i) {
        char& c = line[i];
        if (c < 'a' || c > 'z')
            continue;
        if (style < 85 || rng.chance(50))  // UPPER, or random mixed case
            c = static_cast<char>(c - 'a' + 'A');
    }
}

void make_sort_line(std::string& line, Rng& rng)
{
    line.clear();
    std::uint32_t r = rng.below(100);
    std::uint32_t words = r < 35 ? 1 : r < 65 ? 2 : r < 82 ? 3 : r < 92 ? 4 : rng.range(5, 8);
    for (std::uint32_t i = 0; i < words; ++i) {
        if (i > 0)
            line.push_back(' ');
        if (rng.chance(4)) {
            char num[16];
            auto res = std::to_chars(num, num + sizeof num, rng.below(10000));
            line.append(num, res.ptr);
        } else
            append_sort_word(line, rng);
    }
    if (rng.chance(5))
        line.push_back(rng.chance(50) ? '.' : ',');
}

bool gen_lines(std::FILE* f, std::uint64_t count)
{
    Rng rng(0x4F727665784C696EULL);
    Writer out(f);
    constexpr std::size_t kRecent = 4096;
    std::vector<std::string> recent(kRecent);
    std::size_t recent_fill = 0;
    std::size_t recent_pos = 0;
    std::string line;
    line.reserve(256);
    for (std::uint64_t n = 0; n < count; ++n) {
        std::uint32_t r = rng.below(100);
        if (r < 4) {
            out.put("\n");  // blank line
            continue;
        }
        if (r < 14 && recent_fill > 0) {  // duplicate of a recent line
            const std::string& dup = recent[rng.below(static_cast<std::uint32_t>(recent_fill))];
            out.put(dup);
            out.put("\n");
            continue;
        }
        make_sort_line(line, rng);
        recent[recent_pos] = line;
        recent_pos = (recent_pos + 1) % kRecent;
        if (recent_fill < kRecent)
            ++recent_fill;
        line.push_back('\n');
        out.put(line);
    }
    return out.flush();
}

bool parse_u64(const char* s, std::uint64_t& v)
{
    const char* end = s + std::strlen(s);
    auto res = std::from_chars(s, end, v);
    return res.ec == std::errc() && res.ptr == end && res.ptr != s;
}

int usage(const char* argv0)
{
    std::fprintf(stderr,
                 "usage: %s text OUT SIZE_BYTES\n"
                 "       %s line OUT SIZE_BYTES\n"
                 "       %s lines OUT COUNT\n",
                 argv0, argv0, argv0);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return usage(argv[0]);
    std::string_view mode = argv[1];
    const char* path = argv[2];
    std::uint64_t n = 0;
    if ((mode != "text" && mode != "line" && mode != "lines") || !parse_u64(argv[3], n))
        return usage(argv[0]);

    std::FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::perror(path);
        return 1;
    }
    bool ok = mode == "lines" ? gen_lines(f, n) : gen_text(f, n, mode == "line");
    if (std::fclose(f) != 0)
        ok = false;
    if (!ok) {
        std::fprintf(stderr, "%s: write error\n", path);
        return 1;
    }
    return 0;
}
