// vbbench: measures the core operations against the raw input and output they cannot avoid, on the same
// files in the same run. Each figure warms up both sides once, then runs them alternately and compares
// the medians of the wall-clock times. Prints "NAME: VALUE (target TARGET)" on standard output, the times
// behind the figure on standard error, and exits with 1 when the target is missed (0 with --no-targets).
//
//   vbbench merge-copy   PROJECT --vbprojekt BIN --work FOLDER   vbprojekt merge versus cat of the members
//   vbbench document-merge PROJECT --format F --vbprojekt BIN --work FOLDER   merge --format F versus the
//   text merge
//   vbbench count-read   PROJECT                                  all-objects count versus the block floor:
//   the heads read in 16 KiB steps (also printed: against one exact read of each head, for information;
//   the count versus reading in full goes to standard error)
//   vbbench estate-floor heads|whole|search FOLDER                prints the best time of the floor of a
//   command over every project below FOLDER: the heads in 16 KiB steps, every member file in full, or
//   the search (every folder listed, every project file read)
//   vbbench tiny-forms   PROJECT                                  all-objects count versus reading in full
//   vbbench project-read PROJECT                                  ReadProjectFile versus one line-by-line
//   read
//   vbbench case-lookup  PROJECT                                  count of entries in other letter case
//   versus the count of Genau.vbp beside it, which names the same files as they are
// Options: --reps N (repetitions after the warm-up), --target X, --no-targets, --name TEXT (the figure's
// name, for the same figure on another project), --series NAME (also prints
// "series NAME INPUT-BYTES OPERATION-SECONDS BASELINE-SECONDS", a point for bench/plot).

#include "counter/count_project_objects.h"
#include "errors/runtime_error.h"
#include "files/member_path.h"
#include "project/read_project_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Options {
    std::string figure;
    std::string project;
    std::string vbprojekt;
    std::string work;
    std::string name;
    std::string series;
    std::string format;
    int reps = 5;
    double target = 0;
    bool enforce = true;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "vbbench: %s\n", message.c_str());
    std::exit(2);
}

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Pair {
    double operation;
    double baseline;
};

// Warm-up of both, then `reps` rounds, the order within a round alternating so that neither side always
// runs on the caches or the load the other left behind.
// `prepare`, when given, runs untimed before each run of the operation.
Pair Compare(int reps, const std::function<void()>& operation, const std::function<void()>& baseline,
             const std::function<void()>& prepare = {}) {
    const auto timed = [&] {
        if (prepare)
            prepare();
        return Seconds(operation);
    };
    timed();
    baseline();
    std::vector<double> a, b;
    for (int i = 0; i < reps; ++i) {
        if (i % 2 == 0) {
            a.push_back(timed());
            b.push_back(Seconds(baseline));
        } else {
            b.push_back(Seconds(baseline));
            a.push_back(timed());
        }
    }
    return {Median(a), Median(b)};
}

// `bytes`: the input the operation works through, for the series.
int Report(const Options& o, std::string name, const std::string& operation, const std::string& baseline,
           const Pair& p, std::uintmax_t bytes) {
    if (!o.name.empty())
        name = o.name;
    const double ratio = p.operation / p.baseline;
    std::fprintf(stderr, "  %s %.6f s, %s %.6f s (medians of %d)\n", operation.c_str(), p.operation,
                 baseline.c_str(), p.baseline, o.reps);
    std::printf("%s: %.2f (target %g)\n", name.c_str(), ratio, o.target);
    if (!o.series.empty())
        std::printf("series %s %ju %.6f %.6f\n", o.series.c_str(), bytes, p.operation, p.baseline);
    std::fflush(stdout);
    return o.enforce && ratio > o.target ? 1 : 0;
}

// ---- raw input: what no reader can avoid -------------------------------------------------------------

std::size_t ReadWhole(const std::string& path) {
    static std::vector<char> buffer(128 * 1024);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail("cannot open " + path + ": " + std::strerror(errno));
    std::size_t total = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0)
            Fail("cannot read " + path);
        if (got == 0)
            break;
        total += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return total;
}

// Bytes of the file up to the end of its first line that begins with "Attribute" (all of it without one):
// the head, which is all the count needs to read.
std::size_t HeadSize(const std::string& path) {
    std::string bytes(std::filesystem::file_size(path), '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::read(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        Fail("cannot read " + path);
    ::close(fd);
    for (std::size_t at = 0; at < bytes.size();) {
        const auto end = bytes.find_first_of("\r\n", at);
        if (bytes.compare(at, 9, "Attribute") == 0)
            return end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return bytes.size();
}

// Opens the file, reads `size` bytes of it and closes it.
void ReadHead(const std::string& path, std::size_t size) {
    static std::vector<char> buffer;
    buffer.resize(std::max(buffer.size(), size));
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::read(fd, buffer.data(), size) < 0)
        Fail("cannot read " + path);
    ::close(fd);
}

// Opens the file, fstat()s it, reads 16 KiB steps until the step that holds byte `headEnd - 1`, closes
// it: what a reader must do that learns where the head ends only by reading it.
void ReadHeadBlocks(const std::string& path, std::size_t headEnd) {
    static std::vector<char> buffer(16 * 1024);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0)
        Fail("cannot read " + path);
    for (std::size_t done = 0; done < headEnd;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
}

// Reads the file once and finds every line with memchr, nothing more.
std::size_t CountLines(const std::string& path) {
    static std::vector<char> buffer(64 * 1024);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail("cannot open " + path);
    std::size_t lines = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got <= 0)
            break;
        const char* p = buffer.data();
        const char* end = p + got;
        while (const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p))) {
            ++lines;
            p = static_cast<const char*>(lf) + 1;
        }
    }
    ::close(fd);
    return lines;
}

// ---- the figures ---------------------------------------------------------------------------------------

// Member paths as found from the project's folder, in the order `kinds` lists them.
std::vector<std::string> MemberPaths(const vb::ProjectFileLists& lists, const std::string& folder,
                                     const std::vector<vb::SourceKind>& kinds) {
    std::vector<std::string> paths;
    for (const auto kind : kinds)
        for (int k = 0; k < lists.count(kind); ++k)
            paths.push_back(
                vb::ResolveMemberPath(folder + std::string(lists.list(kind)[static_cast<std::size_t>(k)])));
    return paths;
}

// Runs a program with standard output into `output` (or nowhere), its standard error into `errors`.
void Run(const std::vector<std::string>& args, const std::string& output, const std::string& errors) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.empty() ? "/dev/null" : output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        Fail("cannot start " + args[0]);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        Fail(args[0] + " failed; see " + errors);
}

int MergeCopy(const Options& o) {
    if (o.vbprojekt.empty() || o.work.empty())
        Fail("merge-copy needs --vbprojekt and --work");
    const auto lists = vb::ReadProjectFile(o.project);
    const auto folder = vb::FolderOfPath(o.project);
    std::vector<std::string> cat = {"cat"};
    for (auto& path : MemberPaths(lists, folder, {vb::kSourceKinds.begin(), vb::kSourceKinds.end()}))
        cat.push_back(std::move(path));
    const std::string merged = o.work + "/merged.txt";
    const std::string copied = o.work + "/copied.txt";
    const std::string errors = o.work + "/errors.txt";
    const Pair p = Compare(
        o.reps,
        [&] {
            Run({o.vbprojekt, "merge", o.project, merged}, {}, errors);
        },
        [&] { Run(cat, copied, errors); });
    const auto copiedBytes = static_cast<std::uintmax_t>(std::filesystem::file_size(copied));
    std::fprintf(stderr, "  %zu members, merged %ju bytes, copied %ju bytes\n", cat.size() - 1,
                 static_cast<std::uintmax_t>(std::filesystem::file_size(merged)), copiedBytes);
    std::filesystem::remove(merged);
    std::filesystem::remove(copied);
    std::filesystem::remove(errors);
    return Report(o, "merge/copy", "merge", "cat", p, copiedBytes);
}

// The merge into a document format against the text merge of the same project, both as processes.
int DocumentMerge(const Options& o) {
    if (o.vbprojekt.empty() || o.work.empty() || o.format.empty())
        Fail("document-merge needs --vbprojekt, --work and --format");
    const std::string document = o.work + "/merged." + o.format;
    const std::string text = o.work + "/merged.txt";
    const std::string errors = o.work + "/errors.txt";
    const Pair p = Compare(
        o.reps,
        [&] {
            Run({o.vbprojekt, "merge", "--format", o.format, o.project, document}, {}, errors);
        },
        [&] {
            Run({o.vbprojekt, "merge", o.project, text}, {}, errors);
        });
    const auto textBytes = static_cast<std::uintmax_t>(std::filesystem::file_size(text));
    std::fprintf(stderr, "  %s %ju bytes, text %ju bytes\n", o.format.c_str(),
                 static_cast<std::uintmax_t>(std::filesystem::file_size(document)), textBytes);
    std::filesystem::remove(document);
    std::filesystem::remove(text);
    std::filesystem::remove(errors);
    return Report(o, "merge " + o.format + "/text merge", "merge --format " + o.format, "merge", p,
                  textBytes);
}

// Lists every folder below `folder` with opendir and readdir, and reads every project file found in
// full: the search that any command over the estate must make before it reads a member.
void SearchEstate(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    std::vector<std::string> below;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (entry->d_type == DT_DIR)
            below.push_back(folder + "/" + entry->d_name);
        else if (name.ends_with(".vbp"))
            ReadWhole(folder + "/" + entry->d_name);
    }
    ::closedir(dir);
    for (const auto& sub : below)
        SearchEstate(sub);
}

// The floor of a command over an estate (every project file below the folder `o.project`): "heads" reads
// the heads of forms, user controls and property pages in 16 KiB steps, "whole" every member file in
// full, "search" lists every folder and reads every project file (SearchEstate). Prints the best time of
// the repetitions in seconds, for bench/run to set against the command.
int EstateFloor(const Options& o, const std::string& kind) {
    if (kind == "search") {
        const auto search = [&] { SearchEstate(o.project); };
        search();
        double best = 0;
        for (int i = 0; i < o.reps; ++i) {
            const double t = Seconds(search);
            best = i == 0 ? t : std::min(best, t);
        }
        std::fprintf(stderr, "  search floor %.6f s\n", best);
        std::printf("%.6f\n", best);
        return 0;
    }
    std::vector<std::string> paths;
    std::vector<std::size_t> heads;
    const std::vector<vb::SourceKind> objects = {vb::SourceKind::Form, vb::SourceKind::UserControl,
                                                 vb::SourceKind::PropertyPage};
    const std::vector<vb::SourceKind> all(vb::kSourceKinds.begin(), vb::kSourceKinds.end());
    std::vector<std::string> projects;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(o.project))
        if (entry.is_regular_file() && entry.path().extension() == ".vbp")
            projects.push_back(entry.path().string());
    std::sort(projects.begin(), projects.end());
    for (const auto& project : projects) {
        const auto lists = vb::ReadProjectFile(project);
        for (auto& path : MemberPaths(lists, vb::FolderOfPath(project), kind == "heads" ? objects : all))
            paths.push_back(std::move(path));
    }
    if (kind == "heads")
        for (const auto& path : paths)
            heads.push_back(HeadSize(path));
    else if (kind != "whole")
        Fail("estate-floor needs heads, whole or search");
    const auto floor = [&] {
        for (std::size_t k = 0; k < paths.size(); ++k)
            if (kind == "heads")
                ReadHeadBlocks(paths[k], heads[k]);
            else
                ReadWhole(paths[k]);
    };
    floor();
    double best = 0;
    for (int i = 0; i < o.reps; ++i) {
        const double t = Seconds(floor);
        best = i == 0 ? t : std::min(best, t);
    }
    std::fprintf(stderr, "  %zu projects, %zu files, %s floor %.6f s\n", projects.size(), paths.size(),
                 kind.c_str(), best);
    std::printf("%.6f\n", best);
    return 0;
}

// `againstHeads`: the figure compares the count with reading only the heads, else with reading in full.
int CountRead(const Options& o, const std::string& name, bool againstHeads) {
    const auto lists = vb::ReadProjectFile(o.project);
    // The count finds members from the project's folder, as vbprojekt count and the window do.
    const auto folder = std::filesystem::path(o.project).parent_path();
    if (!folder.empty())
        std::filesystem::current_path(folder);
    const auto paths = MemberPaths(
        lists, {}, {vb::SourceKind::Form, vb::SourceKind::UserControl, vb::SourceKind::PropertyPage});
    counter::ObjectGroupTable table;
    std::int64_t objects = 0;
    std::size_t bytes = 0;
    const Pair p = Compare(
        o.reps, [&] { objects = counter::CountProjectObjects(lists, table); },
        [&] {
            bytes = 0;
            for (const auto& path : paths)
                bytes += ReadWhole(path);
        });
    // The floors below the count: the heads in 16 KiB steps (the block floor), and reading nothing but
    // the heads, as one exact read each (for information: no reader can know where a head ends).
    std::vector<std::size_t> heads;
    std::size_t headBytes = 0;
    for (const auto& path : paths)
        headBytes += heads.emplace_back(HeadSize(path));
    const Pair h = Compare(
        o.reps,
        [&] {
            for (std::size_t k = 0; k < paths.size(); ++k)
                ReadHead(paths[k], heads[k]);
        },
        [&] {
            for (std::size_t k = 0; k < paths.size(); ++k)
                ReadHeadBlocks(paths[k], heads[k]);
        });
    std::fprintf(stderr,
                 "  %zu files, %zu bytes, %jd objects; heads %zu bytes (%.1f %%), reading only the heads "
                 "%.6f s (%.2f of read), in 16 KiB blocks %.6f s\n",
                 paths.size(), bytes, static_cast<std::intmax_t>(objects), headBytes,
                 100.0 * static_cast<double>(headBytes) / static_cast<double>(bytes), h.operation,
                 h.operation / p.baseline, h.baseline);
    if (againstHeads) {
        std::fprintf(stderr, "  count %.6f s = %.2f of read\n", p.operation, p.operation / p.baseline);
        // The old floor, printed for information only.
        std::printf("%s (heads read, for information): %.2f\n", (o.name.empty() ? name : o.name).c_str(),
                    p.operation / h.operation);
        std::string blockName = o.name.empty() ? "count/block floor" : o.name;
        if (const auto at = blockName.find("heads read"); at != std::string::npos)
            blockName.replace(at, 10, "block floor");
        Options named = o;
        named.name = blockName;
        return Report(named, blockName, "count", "block floor", {p.operation, h.baseline}, bytes);
    }
    return Report(o, name, "count", "read", p, bytes);
}

int CaseLookup(const Options& o) {
    const auto folder = std::filesystem::path(o.project).parent_path();
    const auto capitals = vb::ReadProjectFile(o.project);
    const auto exact = vb::ReadProjectFile((folder / "Genau.vbp").string());
    if (!folder.empty())
        std::filesystem::current_path(folder);
    counter::ObjectGroupTable table;
    std::int32_t found = 0;
    std::int32_t expected = 0;
    const Pair p = Compare(
        o.reps, [&] { found = counter::CountProjectObjects(capitals, table); },
        [&] { expected = counter::CountProjectObjects(exact, table); });
    if (found != expected)
        Fail("the two projects count " + std::to_string(found) + " and " + std::to_string(expected));
    std::fprintf(stderr, "  %d entries in other letter case\n", static_cast<int>(capitals.FormCount));
    return Report(o, "case lookup/exact names", "count by case", "count exact", p, 0);
}

int ProjectRead(const Options& o) {
    std::size_t lines = 0;
    // The lists of the previous run are released untimed: reading builds them, dropping them is another
    // matter. Their memory is then there again for the next run, as in a program that reads a second project.
    vb::ProjectFileLists lists;
    const Pair p = Compare(
        o.reps, [&] { lists = vb::ReadProjectFile(o.project); }, [&] { lines = CountLines(o.project); },
        [&] { lists = {}; });
    int members = 0;
    for (const auto kind : vb::kSourceKinds)
        members += lists.count(kind);
    std::fprintf(stderr, "  %zu lines, %d members\n", lines, members);
    return Report(o, "project read/line read", "ReadProjectFile", "line read", p,
                  static_cast<std::uintmax_t>(std::filesystem::file_size(o.project)));
}

Options Parse(int argc, char** argv) {
    Options o;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                Fail(a + " needs a value");
            return argv[++i];
        };
        if (a == "--reps")
            o.reps = std::max(1, std::atoi(value().c_str()));
        else if (a == "--target")
            o.target = std::atof(value().c_str());
        else if (a == "--vbprojekt")
            o.vbprojekt = value();
        else if (a == "--work")
            o.work = value();
        else if (a == "--name")
            o.name = value();
        else if (a == "--series")
            o.series = value();
        else if (a == "--format")
            o.format = value();
        else if (a == "--no-targets")
            o.enforce = false;
        else
            positional.push_back(a);
    }
    if (positional.size() == 3 && positional[0] == "estate-floor") {
        o.figure = positional[0] + " " + positional[1];
        o.project = std::filesystem::absolute(positional[2]).string();
        return o;
    }
    if (positional.size() != 2)
        Fail(
            "usage: vbbench merge-copy|document-merge|count-read|tiny-forms|project-read|case-lookup PROJECT "
            "[options], vbbench estate-floor heads|whole|search FOLDER");
    o.figure = positional[0];
    o.project = std::filesystem::absolute(positional[1]).string();
    if (!o.work.empty())
        o.work = std::filesystem::absolute(o.work).string();
    return o;
}

} // namespace

int main(int argc, char** argv) {
    const Options o = Parse(argc, argv);
    try {
        if (o.figure == "merge-copy")
            return MergeCopy(o);
        if (o.figure == "document-merge")
            return DocumentMerge(o);
        if (o.figure.starts_with("estate-floor "))
            return EstateFloor(o, o.figure.substr(13));
        if (o.figure == "count-read")
            return CountRead(o, "count/heads read", true);
        if (o.figure == "tiny-forms")
            return CountRead(o, "tiny forms count/read", false);
        if (o.figure == "project-read")
            return ProjectRead(o);
        if (o.figure == "case-lookup")
            return CaseLookup(o);
    } catch (const vb::RuntimeError& e) {
        Fail("runtime error " + std::to_string(e.number()) + ": " + e.path());
    } catch (const std::exception& e) {
        Fail(e.what());
    }
    Fail("unknown figure " + o.figure);
}
