"""Writes docs/web.png: the page in headless Chromium after a student holds
a write cycle at address 5 and walks the address back to 0, with the timing
diagram panel open.

    /usr/bin/python3 scripts/web_screenshot.py PAGE OUT"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import web_session  # noqa: E402


def main(page, out):
    driver = web_session.chromium(width=640, height=900)
    try:
        driver.get(web_session.file_url(page))
        web_session.wait_ready(driver)
        driver.execute_script("""
            const click = (n) => document.querySelector('[data-name="' + n + '"]').click();
            Bitwell.enter('12AB');
            for (const n of ['sigAddr(0)', 'sigAddr(2)', 'sigUB', 'sigLB', 'sigCE', 'sigWE',
                             'sigAddr(0)', 'sigAddr(2)']) click(n);
            click('mnuView'); click('mnuViewTiming');
            document.querySelector('[data-name="sigUB"]').focus();""")
        driver.execute_async_script("requestAnimationFrame(() => requestAnimationFrame(arguments[0]))")
        height = driver.execute_script("return document.documentElement.scrollHeight")
        # The whole page in one picture, at the page's own pixels.
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": 640, "height": height, "deviceScaleFactor": 1, "mobile": False})
        driver.execute_async_script("requestAnimationFrame(() => requestAnimationFrame(arguments[0]))")
        driver.save_screenshot(out)
    finally:
        driver.quit()


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
