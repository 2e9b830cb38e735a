// The player's files in the browser: save.dat, save.dat.bad and the report
// live in IndexedDB, which outlasts the tab. The game works on its own
// in-memory folder; the page copies the files in before a run and stores
// every change the game tells it of before the game goes on.
//
// A file is its whole contents (one record in "files", replaced in one
// transaction, so a save is never torn) followed by what was appended to it
// (one record per append in "appends", in the order the browser numbered
// them). Two tabs that append at the same moment each add a record of their
// own, so no report line is ever lost or split, whatever the tabs do.

export const SaveName = "save.dat";
export const BadSaveName = "save.dat.bad";
export const ReportName = "レポート.txt";

// The files a run starts with, when the browser has them.
export const PlayerFileNames = [SaveName, BadSaveName, ReportName];

const DatabaseName = "velkor";

function done(request) {
  return new Promise((resolve, reject) => {
    request.onsuccess = () => resolve(request.result);
    request.onerror = () => reject(request.error);
  });
}

function joined(parts) {
  const whole = new Uint8Array(parts.reduce((size, part) => size + part.length, 0));
  let at = 0;
  for (const part of parts) {
    whole.set(part, at);
    at += part.length;
  }
  return whole;
}

export class PlayerFiles {
  static async open(indexedDB = globalThis.indexedDB) {
    const request = indexedDB.open(DatabaseName, 1);
    request.onupgradeneeded = () => {
      const database = request.result;
      database.createObjectStore("files");
      database.createObjectStore("appends", { autoIncrement: true }).createIndex("name", "name");
    };
    return new PlayerFiles(await done(request));
  }

  constructor(database) {
    this.database = database;
  }

  // One transaction over both stores; resolves once it is on disk, rejects
  // (and changes nothing) when the browser refused any part of it.
  change(work) {
    return new Promise((resolve, reject) => {
      // Strict: the game goes on only once the change would survive a crash.
      const transaction = this.database.transaction(["files", "appends"], "readwrite", { durability: "strict" });
      let result;
      transaction.oncomplete = () => resolve(result);
      transaction.onerror = () => reject(transaction.error);
      transaction.onabort = () => reject(transaction.error);
      const failed = (error) => {
        try {
          transaction.abort();
        } catch {
          // Already finished: its own error stands.
        }
        reject(error);
      };
      try {
        Promise.resolve(work(transaction.objectStore("files"), transaction.objectStore("appends"))).then(
          (value) => {
            result = value;
          },
          failed,
        );
      } catch (error) {
        failed(error);
      }
    });
  }

  // A file's contents, or null when the browser has no such file.
  read(name) {
    return new Promise((resolve, reject) => {
      const transaction = this.database.transaction(["files", "appends"], "readonly");
      let whole;
      let appended = [];
      transaction.objectStore("files").get(name).onsuccess = (event) => {
        whole = event.target.result;
      };
      transaction.objectStore("appends").index("name").getAll(name).onsuccess = (event) => {
        appended = event.target.result.map((record) => record.bytes);
      };
      transaction.oncomplete = () => {
        if (whole === undefined && appended.length === 0) resolve(null);
        else resolve(joined([whole ?? new Uint8Array(0), ...appended]));
      };
      transaction.onerror = () => reject(transaction.error);
    });
  }

  async readAll() {
    const files = new Map();
    for (const name of PlayerFileNames) {
      const bytes = await this.read(name);
      if (bytes !== null) files.set(name, bytes);
    }
    return files;
  }

  // name holds bytes, whole; with kept ({ path, bytes }), kept.path holds
  // kept.bytes as well, in the same transaction: a refused save.dat kept as
  // save.dat.bad, exactly as the game refused it.
  replace(name, bytes, kept = null) {
    return this.change(async (files, appends) => {
      await this.dropAppends(appends, name);
      files.put(new Uint8Array(bytes), name);
      if (kept) {
        await this.dropAppends(appends, kept.path);
        files.put(new Uint8Array(kept.bytes), kept.path);
      }
    });
  }

  append(name, bytes) {
    return this.change((files, appends) => {
      appends.add({ name, bytes: new Uint8Array(bytes) });
    });
  }

  async dropAppends(appends, name) {
    const keys = await done(appends.index("name").getAllKeys(name));
    for (const key of keys) appends.delete(key);
  }
}
