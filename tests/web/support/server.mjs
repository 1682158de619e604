// A loopback HTTP server for the test pages: each test puts its pages at paths of its
// own, optionally answered late or never (a request that never ends keeps a page from
// firing its load event).

import http from 'node:http';

export class PageServer {
  static async start() {
    const server = new PageServer();
    await new Promise((resolve) => server.http.listen(0, '127.0.0.1', resolve));
    server.origin = `http://127.0.0.1:${server.http.address().port}`;
    return server;
  }

  constructor() {
    this.routes = new Map();
    // The raw request targets, in order, as the browser sent them.
    this.requests = [];
    this.http = http.createServer((request, response) => this.answer(request, response));
  }

  // Serves `body` at `path`; `delayMs` answers late, `hang` never answers.
  route(path, body, { type = 'text/html; charset=utf-8', delayMs = 0, hang = false } = {}) {
    this.routes.set(path, { body, type, delayMs, hang });
    return this.origin + path;
  }

  answer(request, response) {
    this.requests.push(request.url);
    const route = this.routes.get(request.url);
    if (!route) {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found');
      return;
    }
    if (route.hang) return;
    setTimeout(() => {
      response.writeHead(200, { 'Content-Type': route.type, 'Cache-Control': 'no-store' });
      response.end(route.body);
    }, route.delayMs);
  }

  async close() {
    this.http.closeAllConnections();
    await new Promise((resolve) => this.http.close(resolve));
  }
}
