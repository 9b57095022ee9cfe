// graphcost: what the platform's DirectShow keeps of every graph, whoever uses it. Prints one
// JSON object: "graph", the handles kept per filter graph made and released with nothing in
// it, and "render", those kept per graph that rendered FILE with the graph's own filter search
// and was released. The tests that open the player many times hold its growth against these.
//
//   graphcost FILE
#include <windows.h>
#include <control.h>
#include <objbase.h>
#include <strmif.h>
#include <uuids.h>

#include <cstdio>

#include "processcounts.h"

namespace {

constexpr int Rounds = 5;

void MakeGraph(const wchar_t* file) {
    IGraphBuilder* graph = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph,
                                nullptr,
                                CLSCTX_INPROC_SERVER,
                                IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph))))
        return;
    if (file) graph->RenderFile(file, nullptr);
    graph->Release();
}

// Handles kept per graph, after one graph has loaded what stays loaded.
double Kept(const wchar_t* file) {
    MakeGraph(file);
    const long before = ProcessHandleCountOf(GetCurrentProcessId());
    for (int i = 0; i < Rounds; ++i) MakeGraph(file);
    return (ProcessHandleCountOf(GetCurrentProcessId()) - before) / static_cast<double>(Rounds);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: graphcost FILE\n", stderr);
        return 2;
    }
    wchar_t file[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, argv[1], -1, file, MAX_PATH)) return 2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const double graph = Kept(nullptr);
    const double render = Kept(file);
    CoUninitialize();
    std::printf("{\"graph\":%.1f,\"render\":%.1f}\n", graph, render);
    return 0;
}
