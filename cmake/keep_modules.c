/* Linked into every program of a sanitizer build only: keeps every shared library
 * mapped until the process exits, so LeakSanitizer can name the module that
 * allocated a block (Mesa unloads its driver at exit, and a leak inside an
 * unloaded module can be neither symbolised nor suppressed). */
int dlclose(void* handle)
{
    (void)handle;
    return 0;
}
