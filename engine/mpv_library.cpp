#include "engine/mpv_library.h"

#include <dlfcn.h>
#include <mpv/client.h>
#include <mpv/render_gl.h>
#include <mutex>
#include <string>
#include <thread>

// Every libmpv function the program calls.
#define MPV_FUNCTIONS(X)                                                                                    \
    X(mpv_create)                                                                                          \
    X(mpv_initialize)                                                                                      \
    X(mpv_set_option_string)                                                                               \
    X(mpv_set_wakeup_callback)                                                                             \
    X(mpv_terminate_destroy)                                                                               \
    X(mpv_wait_event)                                                                                      \
    X(mpv_set_property)                                                                                    \
    X(mpv_set_property_string)                                                                             \
    X(mpv_set_property_async)                                                                              \
    X(mpv_get_property)                                                                                    \
    X(mpv_get_property_string)                                                                             \
    X(mpv_free)                                                                                            \
    X(mpv_command)                                                                                         \
    X(mpv_command_async)                                                                                   \
    X(mpv_command_node)                                                                                    \
    X(mpv_free_node_contents)                                                                              \
    X(mpv_observe_property)                                                                                \
    X(mpv_render_context_create)                                                                           \
    X(mpv_render_context_free)                                                                             \
    X(mpv_render_context_render)                                                                           \
    X(mpv_render_context_set_update_callback)                                                              \
    X(mpv_render_context_update)                                                                           \
    X(mpv_hook_add)                                                                                        \
    X(mpv_hook_continue)

namespace {
struct Api
{
#define SLOT(name) decltype(&::name) name = nullptr;
    MPV_FUNCTIONS(SLOT)
#undef SLOT
};

Api api;
bool loaded = false;
std::once_flag once;

void load()
{
    // The library's major version follows the client API's.
    const std::string soname = "libmpv.so." + std::to_string(MPV_CLIENT_API_VERSION >> 16);
    // Global, so that a library preloaded to watch libmpv's calls still sees them.
    void *lib = dlopen(soname.c_str(), RTLD_LAZY | RTLD_GLOBAL);
    if (!lib)
        lib = dlopen("libmpv.so", RTLD_LAZY | RTLD_GLOBAL);
    if (!lib)
        return;
    Api found;
    bool complete = true;
    // The first definition in the process, unless that is our own stand-in.
#define RESOLVE(name)                                                                                      \
    found.name = reinterpret_cast<decltype(&::name)>(dlsym(RTLD_DEFAULT, #name));                         \
    if (found.name == &::name)                                                                             \
        found.name = reinterpret_cast<decltype(&::name)>(dlsym(lib, #name));                              \
    complete = complete && found.name;
    MPV_FUNCTIONS(RESOLVE)
#undef RESOLVE
    if (!complete)
        return;
    api = found;
    loaded = true;
}

// A load started at start-up finishes before the program ends.
struct Preloader
{
    std::thread thread;
    ~Preloader()
    {
        if (thread.joinable())
            thread.join();
    }
};
Preloader preloader;
}  // namespace

bool loadMpvLibrary()
{
    std::call_once(once, load);
    return loaded;
}

void preloadMpvLibrary()
{
    if (!preloader.thread.joinable())
        preloader.thread = std::thread([] { loadMpvLibrary(); });
}

// The stand-ins. Only mpv_create opens the library: every other call works on
// something it returned.
extern "C" {
mpv_handle *mpv_create(void) { return loadMpvLibrary() ? api.mpv_create() : nullptr; }
int mpv_initialize(mpv_handle *ctx) { return api.mpv_initialize(ctx); }
int mpv_set_option_string(mpv_handle *ctx, const char *name, const char *data)
{
    return api.mpv_set_option_string(ctx, name, data);
}
void mpv_set_wakeup_callback(mpv_handle *ctx, void (*cb)(void *), void *d)
{
    api.mpv_set_wakeup_callback(ctx, cb, d);
}
void mpv_terminate_destroy(mpv_handle *ctx) { api.mpv_terminate_destroy(ctx); }
mpv_event *mpv_wait_event(mpv_handle *ctx, double timeout) { return api.mpv_wait_event(ctx, timeout); }
int mpv_set_property(mpv_handle *ctx, const char *name, mpv_format format, void *data)
{
    return api.mpv_set_property(ctx, name, format, data);
}
int mpv_set_property_string(mpv_handle *ctx, const char *name, const char *data)
{
    return api.mpv_set_property_string(ctx, name, data);
}
int mpv_set_property_async(mpv_handle *ctx, uint64_t reply, const char *name, mpv_format format, void *data)
{
    return api.mpv_set_property_async(ctx, reply, name, format, data);
}
int mpv_get_property(mpv_handle *ctx, const char *name, mpv_format format, void *data)
{
    return api.mpv_get_property(ctx, name, format, data);
}
char *mpv_get_property_string(mpv_handle *ctx, const char *name) { return api.mpv_get_property_string(ctx, name); }
void mpv_free(void *data)
{
    if (data)
        api.mpv_free(data);
}
int mpv_command(mpv_handle *ctx, const char **args) { return api.mpv_command(ctx, args); }
int mpv_command_async(mpv_handle *ctx, uint64_t reply, const char **args)
{
    return api.mpv_command_async(ctx, reply, args);
}
int mpv_command_node(mpv_handle *ctx, mpv_node *args, mpv_node *result)
{
    return api.mpv_command_node(ctx, args, result);
}
void mpv_free_node_contents(mpv_node *node) { api.mpv_free_node_contents(node); }
int mpv_observe_property(mpv_handle *ctx, uint64_t reply, const char *name, mpv_format format)
{
    return api.mpv_observe_property(ctx, reply, name, format);
}
int mpv_render_context_create(mpv_render_context **res, mpv_handle *mpv, mpv_render_param *params)
{
    return api.mpv_render_context_create(res, mpv, params);
}
void mpv_render_context_free(mpv_render_context *ctx) { api.mpv_render_context_free(ctx); }
int mpv_render_context_render(mpv_render_context *ctx, mpv_render_param *params)
{
    return api.mpv_render_context_render(ctx, params);
}
void mpv_render_context_set_update_callback(mpv_render_context *ctx, mpv_render_update_fn cb, void *d)
{
    api.mpv_render_context_set_update_callback(ctx, cb, d);
}
uint64_t mpv_render_context_update(mpv_render_context *ctx) { return api.mpv_render_context_update(ctx); }
int mpv_hook_add(mpv_handle *ctx, uint64_t reply, const char *name, int priority)
{
    return api.mpv_hook_add(ctx, reply, name, priority);
}
int mpv_hook_continue(mpv_handle *ctx, uint64_t id) { return api.mpv_hook_continue(ctx, id); }
}
