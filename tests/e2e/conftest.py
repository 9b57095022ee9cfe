import pytest

from harness import Tavlo, WineDesktop


@pytest.fixture(scope="session")
def desktop():
    d = WineDesktop().start()
    yield d
    d.stop()


@pytest.fixture
def tavlo(desktop, tmp_path, request):
    """Starts Tavlo with the settings a test names through @pytest.mark.settings({...}) and the
    screen-reader answers of @pytest.mark.control({...}); takes a screenshot and closes it after."""
    settings = request.node.get_closest_marker("settings")
    control = request.node.get_closest_marker("control")
    desktop.reset_settings(settings.args[0] if settings else {"Opetion20": 2})
    run = Tavlo(desktop, tmp_path, control=control.args[0] if control else None)
    menu = request.node.get_closest_marker("menu")
    if menu:
        run.use_menu_file(menu.args[0])
    yield run
    desktop.screenshot(request.node.name)
    run.kill()


def pytest_configure(config):
    for name in ("settings", "control", "menu"):
        config.addinivalue_line("markers", f"{name}(values): per-test {name} for the tavlo fixture")
