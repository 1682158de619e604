#pragma once
// Readies the system's certificate machinery on a thread of its own while start-up does
// other things. Every HTTPS request has its server's chain built (by WinHTTP, and by the
// pin check); the first chain of a process also loads the trusted roots, which under Wine
// means importing the host system's certificates: about 0.15 s that the first request
// would otherwise wait for. On Windows the roots are at hand and this costs next to
// nothing. Nothing waits for it: a request that comes first meets the same work under
// the system's own lock and finishes with it.

// Starts the thread; it ends by itself. Call once, as early as possible.
void StartCertificateWarmUp();
