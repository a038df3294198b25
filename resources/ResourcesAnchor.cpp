// Keeps the resource library non-empty; the embedded files are added to it.
namespace vantorel_resources {
int anchor = 0;
}
